// Signal aspects: every signal clears up to its top aspect except the block
// behind the preceding train, which shows stop, and the signals behind it,
// which step up one block at a time; the control columns override the result.
#include "sim/signal_aspects.h"

#include <algorithm>
#include <array>

#include "state/run.h"

namespace cabdrive {
namespace {

constexpr std::int32_t stopAspect = 0;
constexpr std::int32_t fastTrainSpeed = 131;  // km/h

// Display index by head type (rows) and aspect (columns 0 .. 5).
constexpr std::array<std::array<std::int32_t, 6>, 10> displayTable{{
    {1, 2, 2, 2, 3, 3},
    {4, 4, 4, 5, 6, 6},
    {7, 7, 8, 8, 9, 9},
    {10, 10, 11, 11, 12, 12},
    {13, 13, 14, 15, 16, 16},
    {17, 18, 19, 19, 20, 20},
    {21, 22, 23, 24, 25, 25},
    {26, 26, 27, 27, 28, 28},
    {30, 30, 31, 32, 33, 33},
    {35, 36, 37, 38, 39, 40},
}};

std::int32_t headType(const SignalRow& row)
{
    return row.column(4);
}

// The row whose block holds the preceding train: its own frame lies behind
// the train and the next row's frame at or beyond it. 0 with no preceding
// train (frame 0) or none found.
std::size_t signalBehindPrecedingTrain(const SignalTable& signals, std::int32_t precedingFrame)
{
    if (precedingFrame == 0)
        return 0;
    for (std::size_t i = signals.size(); i-- > 1;) {
        if (signals[i - 1].column(6) < precedingFrame && precedingFrame <= signals[i].column(6))
            return i - 1;
    }
    return 0;
}

// A block signal with `blocks` counted from the stop signal ahead of it.
std::int32_t blockAspect(std::int32_t head, std::int32_t blocks)
{
    if (head == 1)
        return 2;
    if (head == 2)
        return blocks <= 2 ? 2 : 4;
    if (head == 3 && blocks <= 2)
        return 2;
    if (head == 4 && blocks >= 3)
        return 4;
    if (head <= 5 && blocks >= 4)
        return 4;
    return blocks;
}

void stopBehindPrecedingTrain(const Run& run, std::vector<std::int32_t>& aspects, std::int32_t topAspect)
{
    const SignalTable& signals = run.route.signals;
    std::size_t k = signalBehindPrecedingTrain(signals, run.state.dynamics.precedingFrame);
    // A repeater cannot stop a train: the block signal behind it does. Row 0
    // ends the walk, so a line that starts with repeaters shows no stop.
    while (k > 0 && isRepeater(headType(signals[k])))
        --k;
    if (k == 0)
        return;
    aspects[k] = stopAspect;
    std::int32_t blocks = 0;
    for (std::size_t j = 1; j <= k && blocks < topAspect; ++j) {
        const std::size_t s = k - j;
        const std::int32_t head = headType(signals[s]);
        if (isRepeater(head)) {
            aspects[s] = aspects[s + 1];
            continue;
        }
        blocks = blockAspect(head, blocks + 1);
        aspects[s] = blocks;
    }
}

// The station flag a control-3 signal waits for (the departure melody has
// started); a flag the run does not keep counts as clear.
bool routeFlagSet(const Run& run, std::int32_t flag)
{
    const std::vector<std::uint8_t>& flags = run.state.stations.melodyStarted;
    return flag >= 0 && static_cast<std::size_t>(flag) < flags.size() && flags[static_cast<std::size_t>(flag)] != 0;
}

bool showsFixedAspect(const Run& run, const SignalRow& row)
{
    const std::int32_t control = row.column(1);
    if (control == 1 && row.column(10) > run.state.time.clockTicks)
        return true;
    if (run.state.video.videoMode == 1)  // a station clip shows its own signals
        return true;
    if (control == 3 && !routeFlagSet(run, row.column(11)))
        return true;
    return control == 2;
}

}  // namespace

bool isRepeater(std::int32_t headType)
{
    return headType == 0 || headType == -1;
}

std::vector<std::int32_t> signalAspects(const Run& run)
{
    const SignalTable& signals = run.route.signals;
    // Without [Speed_Signal] rows the only aspect left is stop.
    const std::int32_t topAspect = std::max<std::int32_t>(static_cast<std::int32_t>(run.route.speedSignals.size()) - 1, 0);
    std::vector<std::int32_t> aspects(signals.size(), topAspect);
    if (signals.empty())
        return aspects;
    stopBehindPrecedingTrain(run, aspects, topAspect);
    for (std::size_t i = 0; i < signals.size(); ++i) {
        if (showsFixedAspect(run, signals[i]))
            aspects[i] = signals[i].column(9);
    }
    return aspects;
}

std::int32_t displayIndex(std::int32_t headType, std::int32_t aspect, std::int32_t maxSpeed)
{
    // The pictures end at head type 9 and aspect 5: clearer aspects show the
    // clearest picture, a repeater's -1 the repeater row.
    const auto head = static_cast<std::size_t>(std::clamp<std::int32_t>(headType, 0, 9));
    const auto shown = static_cast<std::size_t>(std::clamp<std::int32_t>(aspect, 0, 5));
    std::int32_t display = displayTable[head][shown];
    if ((head == 7 || head == 8) && shown == 5 && maxSpeed >= fastTrainSpeed)
        ++display;
    return display;
}

}  // namespace cabdrive
