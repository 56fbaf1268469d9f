// The call-out voice queue's player.
#include "sound/kanko_queue_play.h"

#include "common/paths.h"
#include "state/channel_layout.h"
#include "state/run.h"

namespace cabdrive {
namespace {

using Voice = CalloutState::Voice;
using Table = CalloutState::Table;

const std::string& voiceFile(const RouteData& route, Voice voice)
{
    const auto row = static_cast<std::size_t>(voice.index);
    switch (voice.table) {
    case Table::Other: return route.otherKankos[row];
    case Table::Limit: return route.limitKankos[row];
    case Table::Kanko: break;
    }
    return route.kankoVoices[row].file;
}

void removeHead(CalloutState& callouts)
{
    for (std::size_t k = 1; k < callouts.queued; ++k)
        callouts.queue[k - 1] = callouts.queue[k];
    --callouts.queued;
}

}  // namespace

void kanko_queue_play(Run& run)
{
    CalloutState& callouts = run.state.callouts;
    const std::size_t channel = calloutChannel(run.vehicle, run.route);
    if (run.sound.isPlaying(channel))
        return;
    if (callouts.headPlayed) {
        callouts.headPlayed = false;
        removeHead(callouts);
    }
    if (callouts.queued == 0)
        return;
    // A voice that cannot be loaded stays at the head and is tried again next tick.
    if (!run.sound.load(channel, joinPath(run.route.programFolder, voiceFile(run.route, callouts.queue[0])))) {
        run.shell.showMessage("喚呼の再生エラー");
        return;
    }
    // With call-outs switched off the voices still pass, one per tick, unheard.
    if (run.options.Kanko == 0)
        run.sound.restart(channel, false);
    callouts.headPlayed = true;
}
}  // namespace cabdrive
