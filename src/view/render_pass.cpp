// What one pass of the render loop decides before it draws.
#include "view/render_pass.h"

#include <algorithm>

#include "sim/frame_advance.h"
#include "state/run.h"
#include "view/needles.h"

namespace cabdrive {
namespace {

constexpr int fadeStepPerPass = 10;
constexpr int fadeEnd = 255;

void decodeIfChanged(Run& run, std::int32_t frame)
{
    std::int32_t& lastDecoded = run.state.presentation.lastDecodedFrame;
    if (frame == lastDecoded)
        return;
    // Marked even when decoding fails, so that a missing frame is not retried every pass.
    run.video.decodeFrame(frame);
    lastDecoded = frame;
}

}  // namespace

void showFrameForPosition(Run& run)
{
    const VideoState& v = run.state.video;
    if (v.currentFrame < 0)
        return;
    if (v.videoMode == 0) {
        if (v.currentFrame <= v.highestFrame)
            decodeIfChanged(run, v.currentFrame);
    } else if (v.videoMode == 1 || v.videoMode == 2) {
        decodeIfChanged(run, v.playbackFrame);
    }
}

bool beginRenderPass(Run& run)
{
    if (inEndOfVideoWindow(run))
        return false;
    showFrameForPosition(run);
    setPassNeedles(run);
    return true;
}

FadeStep advanceFade(Run& run)
{
    std::int32_t& level = run.state.presentation.fadeLevel;
    if (level <= 0)
        return {};
    if (run.options.Tunnel == 1)
        level = fadeEnd + 1;
    FadeStep step{std::min(level, fadeEnd), false};
    level += fadeStepPerPass;
    if (level > fadeEnd) {
        level = 0;
        step.closeWindow = true;
    }
    return step;
}

}  // namespace cabdrive
