// The driver's view ahead: sky, hills, ballast and rails in perspective, with poles, platforms, tunnels, crossings and turnouts.
#include "track_view.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

namespace cabdrive::demo {
namespace {

// Scene dimensions in metres.
constexpr double railCentreM = 0.5335;     // half of the 1067 mm gauge
constexpr double railHeadHalfM = 0.0325;
constexpr double sleeperHalfM = 1.0;       // sleepers are 2 m long
constexpr double sleeperPitchM = 0.6;
constexpr double sleeperWidthM = 0.22;
constexpr double ballastHalfM = 1.6;
constexpr double shoulderHalfM = 2.2;
constexpr double cessHalfM = 2.8;
constexpr double fieldLengthM = 37.0;      // length of one field patch beside the line
constexpr double platformHeightM = 1.1;
constexpr double platformEdgeM = 1.65;
constexpr double platformBackM = 8.5;
constexpr double canopyHeightM = 3.9;
constexpr double poleOffsetM = 3.0;        // catenary poles stand right of the track
constexpr double contactWireM = 5.0;
constexpr double messengerWireM = 6.2;
constexpr double tunnelHalfM = 2.3;
constexpr double tunnelWallM = 4.0;        // where the vault starts
constexpr double roadHalfM = 3.5;          // level crossing road
constexpr double branchOffsetM = 4.0;      // a turnout's track ends up this far beside the main one
constexpr double branchCurveM = 45.0;      // length over which it gets there
constexpr double branchLengthM = 220.0;
constexpr double viewRangeM = 3000.0;
constexpr double objectRangeM = 1400.0;    // poles and furniture farther away are below a pixel
constexpr double headingStepM = 10.0;      // integration step of the line's heading
constexpr double sceneryRangeM = 700.0;    // trees and houses
constexpr double scenerySlotM = 23.0;      // one place for a tree or a house per side every slot
constexpr double distancePostM = 100.0;    // small white posts on the left
constexpr int cloudCount = 14;
constexpr double fullTurn = 2 * std::numbers::pi;

struct Rgb {
    float r = 0, g = 0, b = 0;
};

constexpr Rgb skyTop{62, 112, 196};
constexpr Rgb skyHorizon{186, 206, 228};
constexpr Rgb haze{176, 190, 202};
constexpr Rgb farHills{118, 136, 160};
constexpr Rgb nearHills{64, 96, 62};
constexpr Rgb fieldColours[4] = {{86, 118, 58}, {108, 128, 66}, {94, 108, 54}, {128, 122, 78}};
constexpr Rgb cessColour{118, 108, 92};
constexpr Rgb shoulderColour{100, 96, 90};
constexpr Rgb ballastColour{138, 130, 121};
constexpr Rgb sleeperColour{172, 168, 158};
constexpr Rgb railHead{214, 214, 220};
constexpr Rgb railSide{84, 62, 48};
constexpr Rgb asphalt{68, 68, 72};
constexpr Rgb crossingDeck{46, 46, 48};
constexpr Rgb platformTop{152, 150, 146};
constexpr Rgb platformFace{92, 92, 96};
constexpr Rgb platformLine{236, 236, 232};
constexpr Rgb tactileYellow{222, 188, 42};
constexpr Rgb canopyUnderside{188, 186, 180};
constexpr Rgb canopyFascia{82, 96, 124};
constexpr Rgb pillarColour{140, 140, 146};
constexpr Rgb tunnelWall{122, 116, 106};
constexpr Rgb tunnelLamp{255, 240, 188};
constexpr Rgb portalConcrete{162, 156, 146};
constexpr Rgb mountainGreen{52, 82, 48};
constexpr Rgb poleColour{172, 172, 166};
constexpr Rgb wireColour{38, 34, 30};
constexpr Rgb barrierYellow{232, 196, 30};
constexpr Rgb barrierBlack{28, 28, 28};
constexpr Rgb signalRedOn{255, 50, 40};
constexpr Rgb signalRedOff{90, 20, 20};
constexpr Rgb cloudWhite{250, 250, 252};
constexpr Rgb cloudShadow{208, 214, 226};
constexpr Rgb trunkBrown{82, 62, 42};
constexpr Rgb treeGreens[3] = {{44, 74, 38}, {58, 90, 46}, {72, 100, 50}};
constexpr Rgb wallColours[3] = {{228, 224, 212}, {204, 192, 170}, {172, 178, 184}};
constexpr Rgb roofColours[3] = {{58, 68, 92}, {112, 60, 48}, {72, 72, 76}};
constexpr Rgb windowColour{74, 92, 112};
constexpr Rgb postWhite{235, 235, 230};

Rgb mix(Rgb a, Rgb b, double t)
{
    const auto f = static_cast<float>(t);
    return {a.r + (b.r - a.r) * f, a.g + (b.g - a.g) * f, a.b + (b.b - a.b) * f};
}

Rgb scaled(Rgb a, double k)
{
    const auto f = static_cast<float>(k);
    return {a.r * f, a.g * f, a.b * f};
}

std::uint32_t pack(Rgb c)
{
    const auto channel = [](float v) { return static_cast<std::uint32_t>(std::clamp(v, 0.0f, 255.0f) + 0.5f); };
    return 0xFF000000u | (channel(c.r) << 16) | (channel(c.g) << 8) | channel(c.b);
}

Rgb unpack(std::uint32_t p)
{
    return {static_cast<float>((p >> 16) & 0xFF), static_cast<float>((p >> 8) & 0xFF), static_cast<float>(p & 0xFF)};
}

// Fraction of [a, b] covered by a repeating pattern of marks `width` long every `pitch`.
double periodicCoverage(double a, double b, double pitch, double width)
{
    const auto covered = [&](double x) {
        const double cycles = std::floor(x / pitch);
        return cycles * width + std::min(x - cycles * pitch, width);
    };
    if (b - a < 1e-9)
        return std::fmod(std::fmod(a, pitch) + pitch, pitch) < width ? 1.0 : 0.0;
    return (covered(b) - covered(a)) / (b - a);
}

double rangeCoverage(double a, double b, double from, double to)
{
    if (b - a < 1e-9)
        return a >= from && a < to ? 1.0 : 0.0;
    return std::max(0.0, std::min(b, to) - std::max(a, from)) / (b - a);
}

std::uint32_t hashIndex(std::int64_t n)
{
    auto x = static_cast<std::uint64_t>(n) * 0x9E3779B97F4A7C15ull;
    x ^= x >> 31;
    x *= 0xBF58476D1CE4E5B9ull;
    x ^= x >> 29;
    return static_cast<std::uint32_t>(x);
}

struct Point {
    double x = 0, y = 0;
};

// The frame buffer with the few drawing operations the scene needs. Spans
// have fractional ends that are blended by coverage, so thin things far
// away fade instead of flickering.
class Canvas {
public:
    Canvas(std::uint32_t* pixels, int width, int height) : m_pixels(pixels), m_width(width), m_height(height) {}

    int width() const { return m_width; }
    int height() const { return m_height; }

    void blend(int x, int y, Rgb c, double alpha)
    {
        if (x < 0 || x >= m_width || y < 0 || y >= m_height || alpha <= 0)
            return;
        std::uint32_t& p = m_pixels[static_cast<std::size_t>(y) * m_width + x];
        p = alpha >= 1 ? pack(c) : pack(mix(unpack(p), c, alpha));
    }

    void span(int y, double x0, double x1, Rgb c, double alpha = 1.0)
    {
        if (y < 0 || y >= m_height || x1 <= x0)
            return;
        x0 = std::max(x0, 0.0);
        x1 = std::min(x1, static_cast<double>(m_width));
        if (x1 <= x0)
            return;
        const int first = static_cast<int>(std::floor(x0));
        const int last = static_cast<int>(std::ceil(x1)) - 1;
        if (first == last) {
            blend(first, y, c, (x1 - x0) * alpha);
            return;
        }
        blend(first, y, c, (first + 1 - x0) * alpha);
        blend(last, y, c, (x1 - last) * alpha);
        if (alpha >= 1) {
            std::fill_n(m_pixels + static_cast<std::size_t>(y) * m_width + first + 1, last - first - 1, pack(c));
        } else {
            for (int x = first + 1; x < last; ++x)
                blend(x, y, c, alpha);
        }
    }

    // A convex polygon; rows at or below clipBottom belong to nearer ground and stay.
    // Surfaces cover whole pixels by their centres so neighbours meet without
    // seams; thin things blend thin spans by coverage so they fade rather than vanish.
    enum class Edge { surface, thin };
    void polygon(const Point* points, int count, Rgb c, int clipBottom, Edge edge = Edge::surface)
    {
        double top = points[0].y, bottom = points[0].y;
        for (int i = 1; i < count; ++i) {
            top = std::min(top, points[i].y);
            bottom = std::max(bottom, points[i].y);
        }
        const int firstRow = std::max(0, static_cast<int>(std::ceil(top - 0.5)));
        const int lastRow = std::min({m_height - 1, clipBottom - 1, static_cast<int>(std::floor(bottom - 0.5))});
        for (int y = firstRow; y <= lastRow; ++y) {
            const double yc = y + 0.5;
            double left = 1e30, right = -1e30;
            for (int i = 0; i < count; ++i) {
                const Point& a = points[i];
                const Point& b = points[(i + 1) % count];
                if ((yc < a.y) == (yc < b.y))
                    continue;
                const double x = a.x + (yc - a.y) / (b.y - a.y) * (b.x - a.x);
                left = std::min(left, x);
                right = std::max(right, x);
            }
            if (edge == Edge::thin && right - left < 1.5)
                span(y, left, right, c);
            else if (left < right)
                span(y, std::ceil(left - 0.5), std::ceil(right - 0.5), c);
        }
    }

    // An antialiased line about `thickness` pixels wide (thin lines fade instead of breaking up).
    void line(Point a, Point b, Rgb c, double thickness, int clipBottom)
    {
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double length = std::max(std::abs(dx), std::abs(dy));
        if (length > 4 * (m_width + m_height))
            return;  // an end behind the camera; not worth clipping
        const double alpha = std::min(1.0, thickness);
        const int half = static_cast<int>(std::floor(thickness / 2));
        const int steps = std::max(1, static_cast<int>(std::ceil(length)));
        const bool steep = std::abs(dy) > std::abs(dx);
        for (int i = 0; i <= steps; ++i) {
            const double t = static_cast<double>(i) / steps;
            const double x = a.x + dx * t, y = a.y + dy * t;
            if (steep) {
                const int row = static_cast<int>(std::floor(y));
                if (row >= clipBottom)
                    continue;
                const double fx = x - 0.5;
                const int col = static_cast<int>(std::floor(fx));
                const double frac = fx - col;
                blend(col - half, row, c, (1 - frac) * alpha);
                for (int k = -half + 1; k <= half; ++k)
                    blend(col + k, row, c, alpha);
                blend(col + half + 1, row, c, frac * alpha);
            } else {
                const double fy = y - 0.5;
                const int row = static_cast<int>(std::floor(fy));
                const double frac = fy - row;
                const int col = static_cast<int>(std::floor(x));
                if (row - half < clipBottom)
                    blend(col, row - half, c, (1 - frac) * alpha);
                for (int k = -half + 1; k <= half; ++k)
                    if (row + k < clipBottom)
                        blend(col, row + k, c, alpha);
                if (row + half + 1 < clipBottom)
                    blend(col, row + half + 1, c, frac * alpha);
            }
        }
    }

private:
    std::uint32_t* m_pixels;
    int m_width;
    int m_height;
};

// A point of the track centre line ahead of the camera.
struct TrackPoint {
    double d = 0;        // m ahead along the track
    double x = 0;        // m to the right of the camera axis
    double z = 0;        // m in front of the camera
    double h = 0;        // m above the rail at the camera, camera pitch removed
    double heading = 0;  // rad relative to the camera axis, + right
};

TrackPoint lerp(const TrackPoint& a, const TrackPoint& b, double t)
{
    return {a.d + (b.d - a.d) * t, a.x + (b.x - a.x) * t, a.z + (b.z - a.z) * t, a.h + (b.h - a.h) * t,
            a.heading + (b.heading - a.heading) * t};
}

class Scene {
public:
    Scene(const TrackFeatures& line, double cameraM, Canvas& canvas);
    void draw();

private:
    double curve(double m) const { return m_line.curveAt ? m_line.curveAt(m) : 0.0; }
    double height(double m) const { return m_line.heightAt ? m_line.heightAt(m) : 0.0; }
    bool inTunnel(double m) const;
    double tunnelLight(double m, double ahead) const;
    double branchOffset(double m, double* side) const;

    void buildTrack();
    TrackPoint at(double d) const;
    std::size_t segmentOf(double d) const;
    int clipAt(double d) const { return m_clip[segmentOf(d)]; }
    Point project(const TrackPoint& p, double u, double v) const;

    void drawBackground();
    void drawGround();
    void drawGroundRow(int y, double d, double z, double centreX, double scale, double dSpan);
    void drawObjects();
    void drawPole(double d);
    double staggerAt(double m) const;
    void drawWires(const TrackPoint& a, const TrackPoint& b);
    void drawPlatformSegment(const Platform& platform, const TrackPoint& a, const TrackPoint& b);
    void drawPlatformEnd(const Platform& platform, double endD, double downward);
    void drawCanopySegment(const Platform& platform, const TrackPoint& a, const TrackPoint& b);
    void drawPillar(const Platform& platform, double d);
    void drawTunnelSegment(const Range& tunnel, const TrackPoint& a, const TrackPoint& b);
    void drawPortal(const TrackPoint& p);
    void drawCrossing(double crossingM);
    bool sceneryAllowed(double m) const;
    void drawScenery(std::uint32_t hash, double d, double side);
    void drawTree(double d, double u, double size, Rgb crown);
    void drawHouse(double d, double u, double side, std::uint32_t hash);
    void drawDistancePost(double d);
    void drawClouds();
    void disc(const TrackPoint& p, double u, double v, double radius, Rgb c, int clip);
    void quad(const TrackPoint& a, const TrackPoint& b, double u0, double v0, double u1, double v1, Rgb c, int clip);
    void box(const TrackPoint& p, double u0, double u1, double v0, double v1, Rgb c, int clip);

    const TrackFeatures& m_line;
    double m_cameraM;
    Canvas& m_canvas;
    double m_focal;       // px per m at 1 m
    double m_centreX;     // px
    double m_eyeRow;      // px, the row of the camera axis
    double m_horizonRow;  // px, where flat land far away meets the sky
    double m_worldHeading;
    std::vector<TrackPoint> m_track;
    std::vector<int> m_clip;  // per track segment: rows from here down are nearer ground
};

Scene::Scene(const TrackFeatures& line, double cameraM, Canvas& canvas)
    : m_line(line), m_cameraM(cameraM), m_canvas(canvas)
{
    m_focal = canvas.width() * cameraFocalShare;
    m_centreX = canvas.width() / 2.0;
    m_eyeRow = canvas.height() * cameraEyeRowShare;
    // The camera pitches with the gradient under the train, so a change of
    // gradient ahead shows as the track rising or falling against the horizon.
    const double slope = (height(cameraM + 5) - height(cameraM - 5)) / 10;
    m_horizonRow = m_eyeRow + m_focal * slope;
    // The line's heading from the start orients the distant hills, so they
    // pan as the train runs through a curve. Fixed steps keep it repeatable.
    double heading = 0;
    for (double m = 0; m < cameraM; m += headingStepM)
        heading += curve(m + std::min(headingStepM, cameraM - m) / 2) * std::min(headingStepM, cameraM - m);
    m_worldHeading = heading;
    buildTrack();
}

bool Scene::inTunnel(double m) const
{
    return std::any_of(m_line.tunnels.begin(), m_line.tunnels.end(),
                       [m](const Range& r) { return m >= r.startM && m < r.endM; });
}

// Brightness inside a tunnel: the train's headlights near by, lamps, and
// daylight coming in at both mouths.
double Scene::tunnelLight(double m, double ahead) const
{
    for (const Range& r : m_line.tunnels) {
        if (m >= r.startM && m < r.endM) {
            const double daylight = std::exp(-(m - r.startM) / 14) + std::exp(-(r.endM - m) / 14);
            return std::min(1.0, 0.10 + 0.55 * std::exp(-ahead / 30) + 0.9 * daylight);
        }
    }
    return 1.0;
}

// Lateral offset of a turnout's diverging track at m, 0 when none; side is -1 left, +1 right.
double Scene::branchOffset(double m, double* side) const
{
    for (const double q : m_line.pointsAt) {
        if (m < q || m > q + branchLengthM)
            continue;
        // Away from a platform on the left, the loop lies on the left.
        bool leftPlatform = false;
        for (const Platform& p : m_line.platforms)
            leftPlatform = leftPlatform || (p.leftSide && p.endM > q && p.startM < q + branchLengthM);
        *side = leftPlatform ? 1.0 : -1.0;
        const double x = std::min(1.0, (m - q) / branchCurveM);
        return branchOffsetM * x * x;
    }
    return 0.0;
}

void Scene::buildTrack()
{
    const double baseHeight = height(m_cameraM);
    const double slope = (height(m_cameraM + 5) - height(m_cameraM - 5)) / 10;
    std::vector<double> distances{0.3, 2.0};
    for (double d = 2.0 * 1.04; d < viewRangeM; d *= 1.04)
        distances.push_back(d);
    TrackPoint p;
    p.d = distances[0];
    p.z = distances[0];
    m_track.push_back(p);
    for (std::size_t i = 1; i < distances.size(); ++i) {
        const double step = distances[i] - p.d;
        const double midHeading = p.heading + curve(m_cameraM + p.d + step / 2) * step / 2;
        p.heading += curve(m_cameraM + p.d + step / 2) * step;
        p.x += std::sin(midHeading) * step;
        p.z += std::cos(midHeading) * step;
        p.d = distances[i];
        p.h = height(m_cameraM + p.d) - baseHeight - slope * p.d;
        if (std::abs(p.heading) > 1.3 || p.z <= m_track.back().z)
            break;  // the track turns away out of sight
        m_track.push_back(p);
    }
    m_clip.assign(m_track.size(), m_canvas.height());
}

std::size_t Scene::segmentOf(double d) const
{
    const auto it = std::upper_bound(m_track.begin(), m_track.end(), d,
                                     [](double value, const TrackPoint& p) { return value < p.d; });
    const auto index = static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, it - m_track.begin() - 1));
    return std::min(index, m_track.size() - 1);
}

TrackPoint Scene::at(double d) const
{
    const std::size_t i = segmentOf(d);
    if (i + 1 >= m_track.size())
        return m_track.back();
    const TrackPoint& a = m_track[i];
    const TrackPoint& b = m_track[i + 1];
    return lerp(a, b, std::clamp((d - a.d) / (b.d - a.d), 0.0, 1.0));
}

Point Scene::project(const TrackPoint& p, double u, double v) const
{
    const double x = p.x + u * std::cos(p.heading);
    const double z = std::max(0.05, p.z - u * std::sin(p.heading));
    return {m_centreX + m_focal * x / z, m_eyeRow - m_focal * (p.h + v - cameraEyeHeightM) / z};
}

void Scene::draw()
{
    drawBackground();
    drawGround();
    drawObjects();
}

void Scene::drawBackground()
{
    const int w = m_canvas.width(), h = m_canvas.height();
    for (int y = 0; y < h; ++y) {
        if (y < m_horizonRow) {
            const double t = std::clamp(y / std::max(1.0, m_horizonRow), 0.0, 1.0);
            m_canvas.span(y, 0, w, mix(skyTop, skyHorizon, t * t));
        } else {
            m_canvas.span(y, 0, w, mix(haze, fieldColours[0], std::min(1.0, (y - m_horizonRow) / (h * 0.5))));
        }
    }
    drawClouds();
    // Two ranges of hills fixed to compass directions; integer wave numbers keep them continuous all round.
    for (int x = 0; x < w; ++x) {
        const double azimuth = m_worldHeading + std::atan((x + 0.5 - m_centreX) / m_focal);
        const double far = 0.030 + 0.018 * std::sin(3 * azimuth + 0.7) + 0.011 * std::sin(7 * azimuth + 2.1) +
                           0.005 * std::sin(17 * azimuth + 0.3);
        const double near = 0.012 + 0.010 * std::sin(5 * azimuth + 1.9) + 0.006 * std::sin(11 * azimuth + 4.0) +
                            0.0025 * std::sin(41 * azimuth) + 0.0015 * std::sin(97 * azimuth + 1.0);
        const double farTop = m_horizonRow - far * m_focal;
        const double nearTop = m_horizonRow - std::max(0.0, near) * m_focal;
        for (int y = std::max(0, static_cast<int>(std::floor(farTop))); y < std::min(h, static_cast<int>(std::ceil(m_horizonRow))); ++y) {
            const double coverTop = std::clamp(y + 1 - farTop, 0.0, 1.0);
            m_canvas.blend(x, y, mix(farHills, skyHorizon, 0.25), coverTop);
            if (y + 1 > nearTop)
                m_canvas.blend(x, y, mix(nearHills, haze, 0.35), std::clamp(y + 1 - nearTop, 0.0, 1.0));
        }
    }
}

// The ground is drawn row by row from the bottom up, following the track
// centre line segment by segment; a crest ahead hides what lies behind it.
void Scene::drawGround()
{
    int top = m_canvas.height();
    for (std::size_t i = 0; i + 1 < m_track.size(); ++i) {
        m_clip[i] = top;
        const TrackPoint& a = m_track[i];
        const TrackPoint& b = m_track[i + 1];
        const Point pa = project(a, 0, 0), pb = project(b, 0, 0);
        if (pb.y >= top || pb.y >= pa.y)
            continue;
        const int firstRow = std::min(top - 1, static_cast<int>(std::floor(pa.y - 0.5)));
        const int lastRow = std::max(0, static_cast<int>(std::ceil(pb.y - 0.5)));
        for (int y = firstRow; y >= lastRow; --y) {
            const double t = (pa.y - (y + 0.5)) / (pa.y - pb.y);
            const double invZ = 1 / a.z + (1 / b.z - 1 / a.z) * t;
            const double z = 1 / invZ;
            const double s = std::clamp((z - a.z) / (b.z - a.z), 0.0, 1.0);
            const double d = a.d + (b.d - a.d) * s;
            // metres of track covered by this row, for antialiased sleepers and patches
            const double dSpan = std::abs((b.d - a.d) / (b.z - a.z) * z * z * (1 / b.z - 1 / a.z) / (pa.y - pb.y));
            drawGroundRow(y, d, z, pa.x + (pb.x - pa.x) * t, m_focal * invZ, dSpan);
        }
        top = std::min(top, lastRow);
    }
    if (!m_clip.empty())
        m_clip.back() = top;
}

void Scene::drawGroundRow(int y, double d, double z, double centreX, double scale, double dSpan)
{
    const double m = m_cameraM + d;
    const double from = m - dSpan / 2, to = m + dSpan / 2;
    const double fog = 1 - std::exp(-z / 1300);
    const double light = tunnelLight(m, d);
    const auto shade = [&](Rgb c) { return mix(scaled(c, light), haze, fog); };
    const auto column = [&](double u) { return centreX + u * scale; };
    const auto band = [&](double u0, double u1, Rgb c, double alpha = 1.0) {
        m_canvas.span(y, column(u0), column(u1), shade(c), alpha);
    };

    // Fields on both sides, a patchwork that passes by.
    for (int side = 0; side < 2; ++side) {
        Rgb field{};
        double weight = 0;
        const auto firstPatch = static_cast<std::int64_t>(std::floor(from / fieldLengthM));
        const auto lastPatch = static_cast<std::int64_t>(std::floor(to / fieldLengthM));
        for (std::int64_t k = firstPatch; k <= std::min(lastPatch, firstPatch + 8); ++k) {
            const double cover = std::max(rangeCoverage(from, to, k * fieldLengthM, (k + 1) * fieldLengthM), 1e-3);
            const Rgb c = fieldColours[hashIndex(k * 2 + side) % 4];
            field = {field.r + c.r * static_cast<float>(cover), field.g + c.g * static_cast<float>(cover),
                     field.b + c.b * static_cast<float>(cover)};
            weight += cover;
        }
        field = scaled(field, 1 / weight);
        if (side == 0)
            m_canvas.span(y, 0, centreX, shade(field));
        else
            m_canvas.span(y, centreX, m_canvas.width(), shade(field));
    }

    double branchSide = 0;
    const double branch = branchOffset(m, &branchSide) * branchSide;
    const double wideLeft = std::min(0.0, branch), wideRight = std::max(0.0, branch);
    band(wideLeft - cessHalfM, wideRight + cessHalfM, cessColour);
    band(wideLeft - shoulderHalfM, wideRight + shoulderHalfM, shoulderColour);
    band(wideLeft - ballastHalfM, wideRight + ballastHalfM, ballastColour);

    double road = 0;
    for (const double c : m_line.levelCrossings)
        road = std::max(road, rangeCoverage(from, to, c - roadHalfM, c + roadHalfM));
    if (road > 0)
        m_canvas.span(y, 0, m_canvas.width(), shade(asphalt), road);

    const double sleepers = periodicCoverage(from, to, sleeperPitchM, sleeperWidthM) * (1 - road);
    const auto drawTrack = [&](double offset) {
        band(offset - sleeperHalfM, offset + sleeperHalfM, sleeperColour, sleepers);
        if (road > 0)
            band(offset - railCentreM, offset + railCentreM, crossingDeck, road);
        // Rails stay at least most of a pixel wide so they read as lines far away.
        const double minHalf = 0.35 / scale;
        for (const double rail : {offset - railCentreM, offset + railCentreM}) {
            const double half = std::max(railHeadHalfM, minHalf);
            const double contrast = std::min(1.0, railHeadHalfM / half * 2.5);
            band(rail - half - 0.03, rail + half + 0.03, railSide, contrast * 0.8);
            band(rail - half, rail + half, railHead, contrast);
        }
    };
    drawTrack(0);
    if (branch != 0)
        drawTrack(branch);
}

Rgb fogged(Rgb c, double z)
{
    return mix(c, haze, 1 - std::exp(-z / 1300));
}

void Scene::quad(const TrackPoint& a, const TrackPoint& b, double u0, double v0, double u1, double v1, Rgb c, int clip)
{
    const Point points[4] = {project(a, u0, v0), project(a, u1, v1), project(b, u1, v1), project(b, u0, v0)};
    m_canvas.polygon(points, 4, c, clip);
}

// An upright rectangle across the track at p, facing the camera: posts, lamps, signs.
void Scene::box(const TrackPoint& p, double u0, double u1, double v0, double v1, Rgb c, int clip)
{
    const Point points[4] = {project(p, u0, v0), project(p, u1, v0), project(p, u1, v1), project(p, u0, v1)};
    m_canvas.polygon(points, 4, c, clip, Canvas::Edge::thin);
}

void Scene::drawObjects()
{
    enum class Kind { pole, wires, platform, platformEnd, canopy, pillar, tunnel, portal, crossing, scenery, post };
    struct Item {
        double z;
        Kind kind;
        std::size_t index;  // platform, tunnel or crossing; for scenery the place's hash * 2 + side
        TrackPoint a, b;
    };
    std::vector<Item> items;
    const double nearest = m_track.front().d;
    const double farthest = m_track.back().d;
    const auto visible = [&](double d) { return d >= nearest && d <= std::min(farthest, objectRangeM); };

    // Long things are cut at the track samples so the painter's order holds.
    const auto addSegments = [&](Kind kind, std::size_t index, double from, double to) {
        from = std::max(from, nearest);
        to = std::min({to, farthest, objectRangeM});
        for (std::size_t i = segmentOf(from); i + 1 < m_track.size() && m_track[i].d < to; ++i) {
            const TrackPoint a = at(std::max(from, m_track[i].d));
            const TrackPoint b = at(std::min(to, m_track[i + 1].d));
            if (b.d > a.d)
                items.push_back({a.z, kind, index, a, b});
        }
    };

    if (m_line.electrified && m_line.poleSpacingM > 1) {
        const double spacing = m_line.poleSpacingM;
        const auto firstPole = static_cast<std::int64_t>(std::ceil((m_cameraM + nearest) / spacing));
        for (std::int64_t k = firstPole - 1; k * spacing < m_cameraM + std::min(farthest, objectRangeM); ++k) {
            const double d0 = k * spacing - m_cameraM, d1 = d0 + spacing;
            if (visible(d0) && !inTunnel(k * spacing))
                items.push_back({at(d0).z, Kind::pole, 0, at(d0), at(d0)});
            addSegments(Kind::wires, 0, d0, d1);
        }
    }
    for (std::size_t p = 0; p < m_line.platforms.size(); ++p) {
        const Platform& platform = m_line.platforms[p];
        const double s = platform.startM - m_cameraM, e = platform.endM - m_cameraM;
        addSegments(Kind::platform, p, s, e);
        addSegments(Kind::canopy, p, s + (e - s) * 0.2, e - (e - s) * 0.2);
        for (double d = s + (e - s) * 0.2; d <= e - (e - s) * 0.2; d += 12)
            if (visible(d))
                items.push_back({at(d).z, Kind::pillar, p, at(d), at(d)});
        if (visible(s - 6))
            items.push_back({at(s - 6).z, Kind::platformEnd, p, at(s), at(s - 6)});
        if (visible(e))
            items.push_back({at(e).z, Kind::platformEnd, p, at(e), at(e + 6)});
    }
    for (std::size_t t = 0; t < m_line.tunnels.size(); ++t) {
        const Range& tunnel = m_line.tunnels[t];
        const double s = tunnel.startM - m_cameraM, e = tunnel.endM - m_cameraM;
        addSegments(Kind::tunnel, t, s, e);
        if (visible(s))
            items.push_back({at(s).z - 0.01, Kind::portal, t, at(s), at(s)});
    }
    for (std::size_t c = 0; c < m_line.levelCrossings.size(); ++c) {
        const double d = m_line.levelCrossings[c] - m_cameraM;
        if (visible(d - 5) || visible(d + 5))
            items.push_back({at(d).z, Kind::crossing, c, at(d), at(d)});
    }

    // Trees and houses: each slot on each side holds one or nothing, chosen by its hash.
    const auto firstSlot = static_cast<std::int64_t>(std::floor((m_cameraM + nearest) / scenerySlotM)) - 1;
    for (std::int64_t k = firstSlot; k * scenerySlotM < m_cameraM + std::min(farthest, sceneryRangeM); ++k) {
        for (int side = 0; side < 2; ++side) {
            const std::uint32_t hash = hashIndex(k * 2 + side + 7919);
            const double d = static_cast<double>(k) * scenerySlotM + (hash >> 16) % 15 - m_cameraM;
            if (visible(d) && d < sceneryRangeM && sceneryAllowed(m_cameraM + d))
                items.push_back({at(d).z, Kind::scenery, static_cast<std::size_t>(hash) * 2 + side, at(d), at(d)});
        }
    }
    const auto firstPost = static_cast<std::int64_t>(std::ceil((m_cameraM + nearest) / distancePostM));
    for (std::int64_t k = firstPost; k * distancePostM < m_cameraM + std::min(farthest, sceneryRangeM); ++k) {
        const double d = static_cast<double>(k) * distancePostM - m_cameraM;
        if (!inTunnel(m_cameraM + d))
            items.push_back({at(d).z, Kind::post, 0, at(d), at(d)});
    }

    std::stable_sort(items.begin(), items.end(), [](const Item& x, const Item& y) { return x.z > y.z; });
    for (const Item& item : items) {
        switch (item.kind) {
        case Kind::pole:
            drawPole(item.a.d);
            break;
        case Kind::wires:
            drawWires(item.a, item.b);
            break;
        case Kind::platform:
            drawPlatformSegment(m_line.platforms[item.index], item.a, item.b);
            break;
        case Kind::platformEnd:
            drawPlatformEnd(m_line.platforms[item.index], item.a.d, item.b.d > item.a.d ? 1 : -1);
            break;
        case Kind::canopy:
            drawCanopySegment(m_line.platforms[item.index], item.a, item.b);
            break;
        case Kind::pillar:
            drawPillar(m_line.platforms[item.index], item.a.d);
            break;
        case Kind::tunnel:
            drawTunnelSegment(m_line.tunnels[item.index], item.a, item.b);
            break;
        case Kind::portal:
            drawPortal(item.a);
            break;
        case Kind::crossing:
            drawCrossing(m_line.levelCrossings[item.index]);
            break;
        case Kind::scenery:
            drawScenery(static_cast<std::uint32_t>(item.index / 2), item.a.d, item.index % 2 == 0 ? -1.0 : 1.0);
            break;
        case Kind::post:
            drawDistancePost(item.a.d);
            break;
        }
    }
}

void Scene::drawPole(double d)
{
    const TrackPoint p = at(d);
    const int clip = clipAt(d);
    // On a platform on the right the pole stands back on the platform.
    double u = poleOffsetM, base = -0.4;
    for (const Platform& platform : m_line.platforms) {
        if (!platform.leftSide && m_cameraM + d >= platform.startM && m_cameraM + d <= platform.endM) {
            u = platformBackM - 1.0;
            base = platformHeightM;
        }
    }
    const Rgb c = fogged(poleColour, p.z);
    box(p, u - 0.15, u + 0.15, base, 8.2, c, clip);
    // Cantilever out over the track, with its stay.
    const double thickness = std::max(0.6, 0.1 * m_focal / p.z);
    m_canvas.line(project(p, u, 6.6), project(p, -0.3, 6.6), fogged(wireColour, p.z), thickness, clip);
    m_canvas.line(project(p, u, 7.8), project(p, 0.4, 6.6), fogged(wireColour, p.z), thickness * 0.7, clip);
    m_canvas.line(project(p, u, 5.2), project(p, 0, contactWireM), fogged(pillarColour, p.z), thickness * 0.7, clip);
}

// The contact wire zigzags 0.2 m either side between poles to spread the wear on the pantograph.
double Scene::staggerAt(double m) const
{
    const double phase = m / m_line.poleSpacingM;
    const double span = std::floor(phase);
    const double sign = static_cast<std::int64_t>(span) % 2 == 0 ? 1 : -1;
    return sign * (0.2 - 0.4 * (phase - span));
}

void Scene::drawWires(const TrackPoint& a, const TrackPoint& b)
{
    const double stagger0 = staggerAt(m_cameraM + a.d), stagger1 = staggerAt(m_cameraM + b.d);
    const int clip = m_clip[segmentOf(a.d)];
    const Rgb c = fogged(wireColour, a.z);
    const double thickness = std::clamp(0.04 * m_focal / a.z, 0.5, 1.6);
    m_canvas.line(project(a, stagger0, contactWireM), project(b, stagger1, contactWireM), c, thickness, clip);
    m_canvas.line(project(a, stagger0 * 0.3, messengerWireM), project(b, stagger1 * 0.3, messengerWireM), c,
                  thickness * 0.8, clip);
}

void Scene::drawPlatformSegment(const Platform& platform, const TrackPoint& a, const TrackPoint& b)
{
    const double side = platform.leftSide ? -1 : 1;
    const int clip = m_clip[segmentOf(a.d)];
    const auto strip = [&](double u0, double u1, Rgb c) {
        quad(a, b, side * u0, platformHeightM, side * u1, platformHeightM, fogged(c, a.z), clip);
    };
    strip(platformEdgeM, platformBackM, platformTop);
    strip(platformEdgeM, platformEdgeM + 0.18, platformLine);
    strip(platformEdgeM + 0.75, platformEdgeM + 1.05, tactileYellow);
    // The face toward the track, with the shadow under the coping.
    quad(a, b, side * platformEdgeM, 0, side * platformEdgeM, platformHeightM, fogged(platformFace, a.z), clip);
    quad(a, b, side * platformEdgeM, platformHeightM - 0.12, side * platformEdgeM, platformHeightM,
         fogged(mix(platformFace, platformLine, 0.5), a.z), clip);
}

// A platform ends in a ramp down to the ground; `downward` is the side the ramp falls toward.
void Scene::drawPlatformEnd(const Platform& platform, double endD, double downward)
{
    constexpr double rampM = 6.0;
    const double side = platform.leftSide ? -1 : 1;
    const double lowD = endD + downward * rampM;
    if (std::min(lowD, endD) < m_track.front().d)
        return;
    const TrackPoint high = at(endD), low = at(lowD);
    const Point points[4] = {project(low, side * platformEdgeM, 0), project(low, side * platformBackM, 0),
                             project(high, side * platformBackM, platformHeightM),
                             project(high, side * platformEdgeM, platformHeightM)};
    m_canvas.polygon(points, 4, fogged(mix(platformTop, platformFace, 0.3), high.z), clipAt(std::min(lowD, endD)));
}

void Scene::drawCanopySegment(const Platform& platform, const TrackPoint& a, const TrackPoint& b)
{
    const double side = platform.leftSide ? -1 : 1;
    const int clip = m_clip[segmentOf(a.d)];
    const double edge = platformEdgeM + 0.9;
    quad(a, b, side * edge, canopyHeightM, side * platformBackM, canopyHeightM, fogged(canopyUnderside, a.z), clip);
    quad(a, b, side * edge, canopyHeightM, side * edge, canopyHeightM + 0.45, fogged(canopyFascia, a.z), clip);
    // Strip lights under the roof.
    quad(a, b, side * (edge + 1.2), canopyHeightM - 0.02, side * (edge + 1.35), canopyHeightM - 0.02,
         fogged(tunnelLamp, a.z), clip);
}

void Scene::drawPillar(const Platform& platform, double d)
{
    const TrackPoint p = at(d);
    const double u = (platform.leftSide ? -1 : 1) * (platformEdgeM + 3.2);
    box(p, u - 0.12, u + 0.12, platformHeightM, canopyHeightM, fogged(pillarColour, p.z), clipAt(d));
}

// The tunnel cross-section: straight walls and a vault, left to right.
constexpr Point tunnelOutline[] = {{-tunnelHalfM, -0.3}, {-tunnelHalfM, tunnelWallM}, {-2.0, 5.15}, {-1.15, 6.0},
                                   {0.0, 6.3},           {1.15, 6.0},                {2.0, 5.15},  {tunnelHalfM, tunnelWallM},
                                   {tunnelHalfM, -0.3}};
constexpr int tunnelOutlineCount = static_cast<int>(std::size(tunnelOutline));

void Scene::drawTunnelSegment(const Range& tunnel, const TrackPoint& a, const TrackPoint& b)
{
    const int clip = m_clip[segmentOf(a.d)];
    const double light = tunnelLight(m_cameraM + a.d, a.d);
    // Facets alternate slightly in shade so the vault reads as curved.
    for (int k = 0; k + 1 < tunnelOutlineCount; ++k) {
        const Point& p = tunnelOutline[k];
        const Point& q = tunnelOutline[k + 1];
        const double facetShade = 0.8 + 0.2 * std::abs(std::sin(k * 0.9));
        quad(a, b, p.x, p.y, q.x, q.y, fogged(scaled(tunnelWall, light * facetShade), a.z), clip);
    }
    // Lamps on the left wall every 20 m.
    const double lampM = std::ceil((m_cameraM + a.d) / 20.0) * 20.0;
    if (lampM < m_cameraM + b.d && lampM < tunnel.endM) {
        const TrackPoint p = at(lampM - m_cameraM);
        const TrackPoint q = at(lampM - m_cameraM + 1.2);
        quad(p, q, -tunnelHalfM + 0.01, 3.25, -tunnelHalfM + 0.01, 3.6, tunnelLamp, clip);
    }
}

// The portal: a concrete face round the opening, set into a wooded hill.
void Scene::drawPortal(const TrackPoint& p)
{
    const int clip = clipAt(p.d);
    const auto around = [&](double halfWidth, auto topAt, Rgb c) {
        // Strips from the opening's outline up to the top, then the two flanks.
        for (int k = 0; k + 1 < tunnelOutlineCount; ++k) {
            const Point& a = tunnelOutline[k];
            const Point& b = tunnelOutline[k + 1];
            if (a.x == b.x)
                continue;
            const Point points[4] = {project(p, a.x, a.y), project(p, b.x, b.y), project(p, b.x, topAt(b.x)),
                                     project(p, a.x, topAt(a.x))};
            m_canvas.polygon(points, 4, c, clip);
        }
        constexpr int flankSteps = 6;
        for (int side = -1; side <= 1; side += 2) {
            for (int k = 0; k < flankSteps; ++k) {
                const double u0 = side * (tunnelHalfM + (halfWidth - tunnelHalfM) * k / flankSteps);
                const double u1 = side * (tunnelHalfM + (halfWidth - tunnelHalfM) * (k + 1) / flankSteps);
                const Point points[4] = {project(p, u0, -1.0), project(p, u1, -1.0), project(p, u1, topAt(u1)),
                                         project(p, u0, topAt(u0))};
                m_canvas.polygon(points, 4, c, clip);
            }
        }
    };
    around(
        110.0, [](double u) { return 7.5 + 30.0 * std::max(0.0, 1 - (u / 110.0) * (u / 110.0)); },
        fogged(mountainGreen, p.z));
    around(4.2, [](double) { return 7.6; }, fogged(portalConcrete, p.z));
    box(p, -4.4, 4.4, 7.6, 8.0, fogged(scaled(portalConcrete, 0.8), p.z), clip);
}

void Scene::drawCrossing(double crossingM)
{
    const double d = crossingM - m_cameraM;
    // Lamps flash alternately; they follow the position so the video stays repeatable.
    const bool phase = static_cast<std::int64_t>(std::floor(m_cameraM / 1.5)) % 2 == 0;
    for (int side = -1; side <= 1; side += 2) {
        const double u = side * 4.0;
        // Barrier arms lowered across the road on both sides, yellow and black.
        for (int k = 0; k < 6; ++k) {
            const double a = d - roadHalfM + 1.1 * k, b = a + 1.1;
            if (a < m_track.front().d)
                continue;
            const TrackPoint pa = at(a), pb = at(b);
            quad(pa, pb, u, 0.9, u, 1.05, fogged(k % 2 == 0 ? barrierYellow : barrierBlack, pa.z), clipAt(a));
        }
        // Warning signals on the near side of the road: post, lamps and the crossbuck.
        const double postD = d - roadHalfM - 0.6;
        if (postD < m_track.front().d)
            continue;
        const TrackPoint p = at(postD);
        const int clip = clipAt(postD);
        const double pu = side * 4.4;
        box(p, pu - 0.06, pu + 0.06, 0, 3.6, fogged(barrierBlack, p.z), clip);
        box(p, pu - 0.45, pu - 0.15, 2.3, 2.6, fogged(phase ? signalRedOn : signalRedOff, p.z), clip);
        box(p, pu + 0.15, pu + 0.45, 2.3, 2.6, fogged(phase ? signalRedOff : signalRedOn, p.z), clip);
        const Rgb cross = fogged(barrierYellow, p.z);
        const Point a[4] = {project(p, pu - 0.55, 2.85), project(p, pu - 0.45, 2.75), project(p, pu + 0.55, 3.45),
                            project(p, pu + 0.45, 3.55)};
        const Point b[4] = {project(p, pu + 0.45, 2.75), project(p, pu + 0.55, 2.85), project(p, pu - 0.45, 3.55),
                            project(p, pu - 0.55, 3.45)};
        m_canvas.polygon(a, 4, cross, clip, Canvas::Edge::thin);
        m_canvas.polygon(b, 4, cross, clip, Canvas::Edge::thin);
    }
}

// No trees or houses in front of tunnel mountains or on a crossing's road.
bool Scene::sceneryAllowed(double m) const
{
    for (const Range& r : m_line.tunnels)
        if (m > r.startM - 120 && m < r.endM + 20)
            return false;
    return std::none_of(m_line.levelCrossings.begin(), m_line.levelCrossings.end(),
                        [m](double c) { return std::abs(m - c) < 12; });
}

// An upright disc facing the camera: a tree's crown or a bush.
void Scene::disc(const TrackPoint& p, double u, double v, double radius, Rgb c, int clip)
{
    Point points[10];
    for (int k = 0; k < 10; ++k) {
        const double a = fullTurn * k / 10;
        points[k] = project(p, u + radius * std::cos(a), v + radius * std::sin(a));
    }
    m_canvas.polygon(points, 10, c, clip, Canvas::Edge::thin);
}

void Scene::drawScenery(std::uint32_t hash, double d, double side)
{
    const std::uint32_t kind = hash % 12;
    const double u = side * (11.0 + (hash >> 8) % 28);
    if (kind <= 3)
        return;  // open field
    if (kind == 4) {  // a bush on the embankment
        const TrackPoint p = at(d);
        disc(p, side * (4.5 + (hash >> 8) % 3), 0.6, 0.9, fogged(treeGreens[hash % 3], p.z), clipAt(d));
    } else if (kind <= 8) {  // a group of trees
        const int trees = 1 + static_cast<int>((hash >> 4) % 3);
        for (int t = trees - 1; t >= 0; --t)
            drawTree(d + 4.0 * t, u + side * 3.5 * t, 0.8 + 0.15 * ((hash >> (6 + t)) % 4),
                     treeGreens[(hash >> (10 + t)) % 3]);
    } else {
        drawHouse(d, u, side, hash);
    }
}

void Scene::drawTree(double d, double u, double size, Rgb crown)
{
    const TrackPoint p = at(d);
    const int clip = clipAt(d);
    box(p, u - 0.2 * size, u + 0.2 * size, 0, 2.5 * size, fogged(trunkBrown, p.z), clip);
    disc(p, u, 4.2 * size, 2.4 * size, fogged(crown, p.z), clip);
    disc(p, u - 0.6 * size, 3.6 * size, 1.5 * size, fogged(mix(crown, Rgb{0, 0, 0}, 0.2), p.z), clip);
}

// A house seen from the line: its end wall toward the camera, the long wall
// facing the track, and the roof.
void Scene::drawHouse(double d, double u, double side, std::uint32_t hash)
{
    const double width = 7.0 + (hash >> 20) % 5, depth = 8.0 + (hash >> 24) % 6;
    const double height = (hash >> 12) % 2 == 0 ? 5.6 : 3.2;
    const double nearU = u, farU = u + side * width;
    const TrackPoint front = at(d), back = at(d + depth);
    const int clip = clipAt(d);
    const Rgb wall = fogged(wallColours[(hash >> 14) % 3], front.z);
    const Rgb roof = fogged(roofColours[(hash >> 16) % 3], front.z);
    quad(front, back, nearU, 0, nearU, height, fogged(scaled(wallColours[(hash >> 14) % 3], 0.8), front.z), clip);
    quad(front, back, nearU - side * 0.4, height, u + side * width / 2, height + 2.2, roof, clip);
    box(front, std::min(nearU, farU), std::max(nearU, farU), 0, height, wall, clip);
    const Point gable[4] = {project(front, nearU - side * 0.4, height), project(front, farU + side * 0.4, height),
                            project(front, u + side * (width / 2 + 0.3), height + 2.2),
                            project(front, u + side * (width / 2 - 0.3), height + 2.2)};
    m_canvas.polygon(gable, 4, scaled(roof, 0.85), clip, Canvas::Edge::thin);
    const Rgb glass = fogged(windowColour, front.z);
    for (double storey = 1.0; storey + 1.3 < height; storey += 2.4)
        for (const double at : {0.25, 0.65})
            box(front, u + side * width * at, u + side * (width * at + 1.2), storey, storey + 1.1, glass, clip);
}

void Scene::drawDistancePost(double d)
{
    const TrackPoint p = at(d);
    const int clip = clipAt(d);
    box(p, -2.5, -2.38, 0, 1.0, fogged(postWhite, p.z), clip);
    box(p, -2.5, -2.38, 0.8, 0.9, fogged(barrierBlack, p.z), clip);
}

// Clouds sit at fixed compass bearings and heights, each a cluster of soft puffs.
void Scene::drawClouds()
{
    for (int k = 0; k < cloudCount; ++k) {
        const std::uint32_t hash = hashIndex(k + 31);
        const double bearing = fullTurn * (k + (hash % 100) / 100.0) / cloudCount;
        double relative = std::remainder(bearing - m_worldHeading, fullTurn);
        if (std::abs(relative) > 1.2)
            continue;
        const double elevation = 0.06 + 0.2 * ((hash >> 8) % 100) / 100.0;
        const double size = (0.05 + 0.06 * ((hash >> 16) % 100) / 100.0) * m_focal;
        const double cx = m_centreX + m_focal * std::tan(relative);
        const double cy = m_horizonRow - m_focal * std::tan(elevation);
        for (int puff = 0; puff < 5; ++puff) {
            const double px = cx + (puff - 2) * size * 0.55 + ((hash >> (puff * 3)) % 7 - 3) * size * 0.05;
            const double py = cy - ((hash >> (puff * 2 + 4)) % 4) * size * 0.08;
            const double rx = size * (0.5 + 0.1 * ((hash >> puff) % 3)), ry = rx * 0.45;
            const int top = static_cast<int>(std::floor(py - ry)), bottom = static_cast<int>(std::ceil(py + ry));
            for (int y = std::max(0, top); y <= std::min(bottom, static_cast<int>(m_horizonRow) - 1); ++y) {
                const double t = (y + 0.5 - py) / ry;
                if (std::abs(t) >= 1)
                    continue;
                const double half = rx * std::sqrt(1 - t * t);
                m_canvas.span(y, px - half, px + half, mix(cloudWhite, cloudShadow, std::clamp(t, 0.0, 1.0)),
                              0.75 * std::sqrt(1 - t * t));
            }
        }
    }
}

}  // namespace

void renderTrackView(const TrackFeatures& line, double cameraM, int width, int height, std::uint32_t* argbOut)
{
    if (width <= 0 || height <= 0 || argbOut == nullptr)
        return;
    Canvas canvas(argbOut, width, height);
    Scene scene(line, cameraM, canvas);
    scene.draw();
}

}  // namespace cabdrive::demo
