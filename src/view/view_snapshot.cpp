// What decides the picture of the cab view in a pass.
#include "view/view_snapshot.h"

#include "state/run.h"

namespace cabdrive {

ViewSnapshot snapshotView(const Run& run, std::uint64_t frameRevision, int previousMessageWidth)
{
    ViewSnapshot snapshot;
    snapshot.frameRevision = frameRevision;
    const TextDisplays texts = layoutTextDisplays(run, previousMessageWidth);
    snapshot.message = texts.message;
    for (const TextDisplay& readout : texts.readouts)
        snapshot.readouts.push_back(readout);
    const std::vector<Sprite>& sprites = run.scene.sprites();
    snapshot.sprites.reserve(sprites.size());
    for (const Sprite& s : sprites)
        snapshot.sprites.push_back({s.visible, s.pattern, s.angle, s.alpha, s.x, s.y, s.width, s.height});
    snapshot.clockShown = run.state.clockFace.shown;
    snapshot.clockRevision = run.state.clockFace.revision;
    return snapshot;
}

}  // namespace cabdrive
