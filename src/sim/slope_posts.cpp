// Slope posts: the gradient at the train's front, the slope sign and the gradient texts.
#include "sim/slope_posts.h"

#include <cmath>
#include <cstdio>
#include <string_view>

#include "state/run.h"

namespace cabdrive {
namespace {

constexpr std::string_view slopeSign = "img_unten_slope";
constexpr const char* levelText = "L";

std::string oneDecimal(const char* format, long double perMille)
{
    char text[48];
    std::snprintf(text, sizeof text, format, perMille);
    return text;
}

void setFrontGradient(Run& run, fixed4 gradient, int pattern)
{
    TracksideState& t = run.state.trackside;
    run.state.dynamics.frontGradient = gradient;
    run.scene.setPattern(slopeSign, pattern);
    t.gradientText = signedGradientText(gradient);
    t.gradientTextUnsigned = unsignedGradientText(gradient);
}

// Strictly between the end of row k and the start of the next, or beyond
// the last row's end.
bool levelAfter(const FixedTable<Slope, 501>& rows, std::size_t k, std::int32_t frame)
{
    if (frame <= rows[k].endFrame)
        return false;
    return k + 1 == rows.size() || frame < rows[k + 1].startFrame;
}

}  // namespace

std::string signedGradientText(fixed4 gradient)
{
    return gradient.raw == 0 ? levelText : oneDecimal("%+.1Lf", gradient.value());
}

std::string unsignedGradientText(fixed4 gradient)
{
    return gradient.raw == 0 ? levelText : oneDecimal("%.1Lf", std::fabs(gradient.value()));
}

void slopePosts(Run& run)
{
    const auto& rows = run.route.slopes;
    const std::int32_t frame = run.state.video.currentFrame;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const Slope& row = rows[k];
        if (row.startFrame < frame && frame < row.endFrame && row.gradient != run.state.dynamics.frontGradient)
            setFrontGradient(run, row.gradient, static_cast<int>(k) + 1);
        else if (levelAfter(rows, k, frame))
            setFrontGradient(run, fixed4{}, 0);
    }
}

void levelSlopePosts(Run& run)
{
    setFrontGradient(run, fixed4{}, 0);
}

}  // namespace cabdrive
