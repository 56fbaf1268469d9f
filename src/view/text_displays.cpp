// The text displays of the cab view.
#include "view/text_displays.h"

#include "common/rounding.h"
#include "state/run.h"
#include "view/readout_texts.h"

namespace cabdrive {
namespace {

// Font sizes as fractions of the view's width.
constexpr long double messageSize = 0.015L;
constexpr long double speedSize = 0.02L;
constexpr long double readoutSize = 0.017L;

// The protection lines stack upwards from the cars readout, one line each.
constexpr long double protectionBase = 0.8L;
constexpr long double protectionStep = 0.06L;

class Layout {
public:
    Layout(const Settings& settings, TextDisplays& out) : m_w(settings.viewWidth), m_h(settings.viewHeight), m_out(out) {}

    TextDisplay at(std::string text, long double size, long double x, long double y) const
    {
        return TextDisplay{std::move(text), viewFraction(m_w, size), viewFraction(m_w, x), viewFraction(m_h, y)};
    }

    void readout(std::string text, long double size, long double x, long double y)
    {
        // The table has a place for every readout.
        [[maybe_unused]] const bool added = m_out.readouts.add(at(std::move(text), size, x, y));
    }

    void readoutIfAny(const std::string& text, long double x, long double y)
    {
        if (!text.empty())
            readout(text, readoutSize, x, y);
    }

    std::int32_t width() const { return m_w; }

private:
    std::int32_t m_w, m_h;
    TextDisplays& m_out;
};

void layoutMessage(const Run& run, int previousMessageWidth, const Layout& layout, TextDisplays& out)
{
    const RunState& s = run.state;
    // Option Information 1 is the menu's "no explanations".
    if (run.options.Information != 0 || s.presentation.messageText.empty())
        return;
    TextDisplay message = layout.at(s.presentation.messageText, messageSize, 0, run.options.Moji == 0 ? 0.05L : 0.9L);
    message.x = viewFraction(layout.width(), 0.5L) - saturateInt32(roundTiesEven(previousMessageWidth / 2.0L));
    out.message = std::move(message);
}

// In text display mode these texts go to the window's labels instead.
void layoutReadouts(const Run& run, Layout& layout)
{
    const RunState& s = run.state;
    const ControlState& c = s.controls;
    layout.readout(speedText(s.dynamics.trainSpeed), speedSize, 0.8L, 0.84L);
    layout.readout(c.reverserText, readoutSize, 0.8L, 0.92L);
    layout.readout(c.powerText, readoutSize, 0.87L, 0.92L);
    layout.readout(c.brakeText, readoutSize, 0.92L, 0.92L);
    layout.readout(c.gearText, readoutSize, 0.72L, 0.92L);
    layout.readoutIfAny(s.signals.limitText1, 0.7L, 0.78L);
    layout.readoutIfAny(s.signals.limitText2, 0.7L, 0.72L);
    long double protectionY = protectionBase;
    for (const std::string* line : {&s.signals.protectionText1, &s.signals.protectionText2}) {
        if (line->empty())
            continue;
        protectionY -= protectionStep;
        layout.readout(*line, readoutSize, 0.01L, protectionY);
    }
    // carsText is the car count under a conductor and the one-person notice
    // in one-person operation, which has a place of its own.
    const bool oneMan = run.route.oneMan != 0;
    layout.readout((oneMan ? std::string() : s.stations.carsText) + s.stations.doorSideText, readoutSize, 0.01L, 0.8L);
    layout.readout(s.stations.nextStationText, readoutSize, 0.01L, 0.86L);
    layout.readout(s.stations.clockText, readoutSize, 0.01L, 0.92L);
    if (oneMan)
        layout.readout(s.stations.carsText, readoutSize, 0.15L, 0.92L);
}

}  // namespace

int viewFraction(std::int32_t extent, long double part)
{
    return saturateInt32(roundTiesEven(extent * part));
}

int textShadowOffset(std::int32_t viewWidth)
{
    return viewFraction(viewWidth, 0.002L);
}

TextDisplays layoutTextDisplays(const Run& run, int previousMessageWidth)
{
    TextDisplays out;
    Layout layout(run.settings, out);
    layoutMessage(run, previousMessageWidth, layout, out);
    if (run.options.Moji == 0)
        layoutReadouts(run, layout);
    return out;
}

}  // namespace cabdrive
