// What one pass of the render loop decides before it draws: whether to draw
// at all, which video frame to decode, the needles, and the closing fade.
#pragma once

namespace cabdrive {

struct Run;

// Decodes the frame for the train's position when it changed: the main video
// at currentFrame (not above highestFrame), a clip at playbackFrame. Nothing
// below frame 0 is decoded; the last picture then stays.
void showFrameForPosition(Run& run);

// Steps of a pass up to the drawing: false in the frame windows past the end
// of the video, in which the pass draws nothing; otherwise the frame for the
// position is decoded and the needles are set.
bool beginRenderPass(Run& run);

struct FadeStep {
    int alpha = 0;             // 1..255 of black over the view; 0: no fade to draw
    bool closeWindow = false;  // the fade has ended: the main window closes
};

// The closing fade after the end command set fadeLevel to 1: darker by 10 a
// pass, or all at once with visual effects off (option Tunnel 1).
FadeStep advanceFade(Run& run);

}  // namespace cabdrive
