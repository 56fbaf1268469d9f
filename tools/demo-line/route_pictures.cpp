// Painting the route's pictures with QPainter.
#include "route_pictures.h"

#include <QPainterPath>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <set>

#include "paint_kit.h"

namespace cabdrive::demo {

namespace {

std::string numbered(const std::string& stem, std::size_t k)
{
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "%02zu.bmp", k);
    return stem + suffix;
}

QString clockText(int ticks)
{
    const int seconds = ticks / 30;
    return QString::asprintf("%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

// A strip of equal cells side by side; cell 0 is left transparent.
QImage strip(int cellWidth, int cellHeight, int cells)
{
    return canvas(cellWidth * cells, cellHeight);
}

QRectF cell(int k, int width, int height, double inset = 0)
{
    return QRectF(k * width + inset, inset, width - 2 * inset, height - 2 * inset);
}

void board(QPainter& p, const QRectF& r, const QColor& face, const QColor& edge)
{
    p.setPen(QPen(edge, 3));
    p.setBrush(face);
    p.drawRoundedRect(r, 4, 4);
}

void paintStopMarker(const std::string& folder, const RoutePictureFiles& f, int stations)
{
    const int cells = stations + 1;
    QImage image = strip(stopMarkerSize, stopMarkerSize, cells);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (int k = 1; k < cells; ++k) {
        const QRectF r = cell(k, stopMarkerSize, stopMarkerSize, 6);
        board(p, r, Qt::white, QColor(200, 30, 30));
        centredText(p, r.adjusted(0, 4, 0, -r.height() / 2), "停止", 16, Qt::black);
        centredText(p, r.adjusted(0, r.height() / 2 - 4, 0, -4), "位置", 16, Qt::black);
    }
    p.end();
    markKey(image);
    savePicture(image, folder, f.stopMarker);
}

void paintStopLines(const std::string& folder, const RoutePictureFiles& f)
{
    const std::array<std::pair<const std::string*, QColor>, 3> lines = {{
        {&f.stopLineS, QColor(40, 200, 60)}, {&f.stopLineM, QColor(250, 210, 40)}, {&f.stopLineE, QColor(230, 50, 40)}}};
    for (const auto& [file, colour] : lines)
        savePicture(canvas(viewWidth, stopLineSize, colour), folder, *file);
}

void paintSlopeSigns(const std::string& folder, const RoutePictureFiles& f, const LineGeometry& line)
{
    const int cells = static_cast<int>(line.gradients.size()) + 1;
    QImage image = strip(slopeSignSize, slopeSignSize, cells);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (int k = 1; k < cells; ++k) {
        const double perMille = line.gradients[static_cast<std::size_t>(k - 1)].perMille;
        const double x0 = k * slopeSignSize;  // cell k is row k - 1's: cell 0 stays blank between sections
        const double mid = x0 + slopeSignSize / 2.0;
        // The post, and an arm that points up or down the gradient.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(235, 235, 235));
        p.drawRect(QRectF(mid - 3, 20, 6, slopeSignSize - 20));
        const double rise = perMille > 0 ? -10 : perMille < 0 ? 10 : 0;
        p.setPen(QPen(Qt::black, 1));
        QPainterPath arm;
        arm.moveTo(x0 + 6, 22 - rise / 2);
        arm.lineTo(x0 + slopeSignSize - 6, 22 + rise / 2);
        arm.lineTo(x0 + slopeSignSize - 6, 36 + rise / 2);
        arm.lineTo(x0 + 6, 36 - rise / 2);
        arm.closeSubpath();
        p.setBrush(Qt::white);
        p.drawPath(arm);
        const QString value = perMille == 0 ? QString("L") : QString::number(std::abs(perMille), 'g', 3);
        centredText(p, QRectF(x0 + 6, 22 - std::abs(rise) / 2, slopeSignSize - 12, 14 + std::abs(rise)), value, 12, Qt::black);
    }
    p.end();
    markKey(image);
    savePicture(image, folder, f.slope);
}

void paintLimitSigns(const std::string& folder, const RoutePictureFiles& f, const std::vector<int>& speeds)
{
    const int cells = static_cast<int>(speeds.size()) + 2;
    QImage image = strip(limitSignSize, limitSignSize, cells);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (int k = 1; k < cells; ++k) {
        const QRectF r = cell(k, limitSignSize, limitSignSize, 8);
        board(p, r, QColor(250, 220, 40), Qt::black);
        if (k <= static_cast<int>(speeds.size())) {
            centredText(p, r, QString::number(speeds[static_cast<std::size_t>(k - 1)]), 24, Qt::black);
        } else {
            centredText(p, r, "解除", 18, Qt::black);
            p.setPen(QPen(Qt::black, 3));
            p.drawLine(r.bottomLeft(), r.topRight());
        }
    }
    p.end();
    markKey(image);
    savePicture(image, folder, f.limit);
}

// The program keeps this picture at the right edge of the cab, over the view
// and the panel, where the stop marker and the notch readouts also are: only
// a ruler between the stop marker and the readouts is drawn, the rest is
// transparent.
void paintRemainingDistance(const std::string& folder, const RoutePictureFiles& f)
{
    const int height = 2 * viewHeight;
    QImage image = canvas(remainSize, height);
    QPainter p(&image);
    for (int y = remainRulerTop; y < remainRulerBottom; ++y) {
        const double t = static_cast<double>(y - remainRulerTop) / (remainRulerBottom - remainRulerTop);
        p.setPen(QColor(static_cast<int>(40 + 200 * t), static_cast<int>(200 - 150 * t), 40));
        p.drawLine(remainSize - 10, y, remainSize - 3, y);
    }
    p.setPen(QPen(Qt::white, 1));
    for (int y = remainRulerTop; y <= remainRulerBottom; y += 20)
        p.drawLine((y - remainRulerTop) % 100 == 0 ? 6 : 14, y, remainSize - 1, y);
    p.end();
    markKey(image);
    savePicture(image, folder, f.remain);
}

void paintOtherSigns(const std::string& folder, const RoutePictureFiles& f)
{
    QImage image = strip(otherSignSize, otherSignSize, otherSignCount);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // The time marker: a clock face.
    const QRectF clock = cell(timeMarkerSign, otherSignSize, otherSignSize, 8);
    p.setPen(QPen(Qt::black, 3));
    p.setBrush(Qt::white);
    p.drawEllipse(clock);
    p.drawLine(clock.center(), clock.center() + QPointF(0, -18));
    p.drawLine(clock.center(), clock.center() + QPointF(12, 0));
    // The whistle board.
    const QRectF whistle = cell(whistleSign, otherSignSize, otherSignSize, 8);
    board(p, whistle, Qt::white, Qt::black);
    centredText(p, whistle, "汽", 30, Qt::black);
    // The station approach board: black stripes on white.
    const QRectF approach = cell(stationApproachSign, otherSignSize, otherSignSize, 8);
    board(p, approach, Qt::white, Qt::black);
    p.save();
    p.setClipRect(approach.adjusted(2, 2, -2, -2));
    p.setPen(QPen(Qt::black, 6));
    for (int k = -2; k <= 2; ++k)
        p.drawLine(approach.bottomLeft() + QPointF(k * 16, 0), approach.topLeft() + QPointF(k * 16 + approach.height(), 0));
    p.restore();
    p.end();
    markKey(image);
    savePicture(image, folder, f.other);
}

// Display index (1 to 40) of a head type showing an aspect, as the program
// assigns them; the picture of display d shows that head and aspect.
constexpr int displays[10][6] = {
    {1, 2, 2, 2, 3, 3},       {4, 4, 4, 5, 6, 6},       {7, 7, 8, 8, 9, 9},       {10, 10, 11, 11, 12, 12},
    {13, 13, 14, 15, 16, 16}, {17, 18, 19, 19, 20, 20}, {21, 22, 23, 24, 25, 25}, {26, 26, 27, 27, 28, 29},
    {30, 30, 31, 32, 33, 34}, {35, 36, 37, 38, 39, 40},
};

void drawSignalHead(QPainter& p, const QRectF& r, int head, int aspect)
{
    const QColor off(50, 50, 50), red(240, 40, 30), yellow(255, 190, 30), green(40, 230, 140), white(245, 245, 235);
    p.setPen(QPen(QColor(15, 15, 15), 1));
    p.setBrush(QColor(25, 25, 25));
    if (head == 0) {
        // A repeater: a row of white lights, level at stop, slanting for a
        // restriction, upright for clear.
        const QRectF disc(r.center().x() - 17, r.top() + 8, 34, 34);
        p.drawEllipse(disc);
        const double angle = aspect == 0 ? 0 : aspect < 4 ? 45 : 90;
        p.setPen(Qt::NoPen);
        p.setBrush(white);
        for (int k = -1; k <= 1; ++k) {
            const double rad = angle * M_PI / 180;
            const QPointF c = disc.center() + QPointF(std::cos(rad) * 11 * k, -std::sin(rad) * 11 * k);
            p.drawEllipse(c, 4, 4);
        }
        return;
    }
    // Four lamps from the top: yellow, green, red, yellow.
    const QRectF housing(r.center().x() - 12, r.top() + 4, 24, 4 * 20 + 6);
    p.drawRoundedRect(housing, 6, 6);
    std::array<QColor, 4> lamps = {off, off, off, off};
    switch (aspect) {
    case 0: lamps[2] = red; break;
    case 1: lamps[0] = yellow; lamps[3] = yellow; break;
    case 2: lamps[0] = yellow; break;
    case 3: lamps[0] = yellow; lamps[1] = green; break;
    case 4: lamps[1] = green; break;
    default: lamps[1] = green; lamps[3] = green; break;
    }
    p.setPen(Qt::NoPen);
    for (int k = 0; k < 4; ++k) {
        p.setBrush(lamps[static_cast<std::size_t>(k)]);
        p.drawEllipse(QPointF(housing.center().x(), housing.top() + 13 + 20 * k), 7, 7);
    }
    // The mast below.
    p.setBrush(QColor(90, 90, 90));
    p.drawRect(QRectF(r.center().x() - 2, housing.bottom(), 4, r.bottom() - housing.bottom()));
}

void paintSignals(const std::string& folder, const RoutePictureFiles& f)
{
    constexpr int cells = 41;
    QImage image = strip(signalWidth, signalHeight, cells);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (int d = 1; d < cells; ++d) {
        bool drawn = false;
        for (int head = 0; head < 10 && !drawn; ++head)
            for (int aspect = 0; aspect < 6 && !drawn; ++aspect)
                if (displays[head][aspect] == d) {
                    drawSignalHead(p, cell(d, signalWidth, signalHeight), head, aspect);
                    drawn = true;
                }
    }
    p.end();
    markKey(image);
    savePicture(image, folder, f.signal);

    // Plates naming the kind of signal.
    QImage plates = strip(subSignalSize, subSignalSize, plateCount);
    QPainter q(&plates);
    q.setRenderHint(QPainter::Antialiasing);
    const char* plateWords[plateCount] = {"", "出", "場", "閉", "中"};
    for (int k = 1; k < plateCount; ++k) {
        const QRectF r = cell(k, subSignalSize, subSignalSize, 3);
        board(q, r, Qt::white, Qt::black);
        centredText(q, r, plateWords[k], 16, Qt::black);
    }
    q.end();
    markKey(plates);
    savePicture(plates, folder, f.subSignalS);

    // Route indicators: a lit arrow.
    for (const auto& [file, arrow] : {std::pair{&f.subSignalL, "←"}, std::pair{&f.subSignalR, "→"}}) {
        QImage route = strip(subSignalSize, subSignalSize, 2);
        QPainter r(&route);
        r.setRenderHint(QPainter::Antialiasing);
        r.setPen(Qt::NoPen);
        r.setBrush(QColor(25, 25, 25));
        r.drawRect(cell(1, subSignalSize, subSignalSize, 2));
        centredText(r, cell(1, subSignalSize, subSignalSize), arrow, 20, QColor(245, 245, 235));
        r.end();
        markKey(route);
        savePicture(route, folder, *file);
    }
}

void paintStafCard(const std::string& folder, const RoutePictureFiles& f, Direction d, const LineGeometry& line,
                   const Timetable& t)
{
    const int width = 200, rowHeight = 34;
    const int height = 90 + rowHeight * static_cast<int>(line.stations.size()) + 20;
    QImage image = canvas(width, height, QColor(250, 248, 236));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(3, 3, width - 6, height - 6));
    centredText(p, QRectF(0, 8, width, 28), qs(line.name) + (d == Direction::down ? " 下り" : " 上り"), 18, Qt::black);
    centredText(p, QRectF(0, 36, width, 20), "普通  " + qs(line.stations.back().name) + "行", 13, QColor(40, 40, 40), false);
    centredText(p, QRectF(0, 62, width / 2, 20), "駅名", 12, QColor(90, 90, 90), false);
    centredText(p, QRectF(width / 2, 62, width / 2, 20), "着 / 発", 12, QColor(90, 90, 90), false);
    for (std::size_t i = 0; i < line.stations.size(); ++i) {
        const StationSite& s = line.stations[i];
        const double y = 90 + rowHeight * static_cast<double>(i);
        p.setPen(QPen(QColor(160, 160, 160), 1));
        p.drawLine(QPointF(8, y), QPointF(width - 8, y));
        centredText(p, QRectF(0, y, width / 2, rowHeight), qs(s.name), 14, Qt::black);
        QString times;
        if (s.kind == passing)
            times = "レ  " + clockText(t.arrivalTicks[i]);
        else if (i == 0)
            times = "発 " + clockText(t.departureTicks[i]);
        else if (i + 1 == line.stations.size())
            times = "着 " + clockText(t.arrivalTicks[i]);
        else
            times = clockText(t.arrivalTicks[i]) + "\n" + clockText(t.departureTicks[i]);
        centredText(p, QRectF(width / 2, y, width / 2, rowHeight), times, 11, s.kind == stopWithoutService ? QColor(180, 30, 30) : Qt::black, false);
    }
    p.end();
    markKey(image);
    savePicture(image, folder, f.stafCard);
}

void paintOpening(const std::string& folder, const RoutePictureFiles& f, Direction d, const LineGeometry& line)
{
    QImage image = canvas(320, 240, QColor(20, 40, 70));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 240);
    sky.setColorAt(0, QColor(30, 70, 140));
    sky.setColorAt(1, QColor(200, 170, 120));
    p.fillRect(image.rect(), sky);
    centredText(p, QRectF(0, 50, 320, 50), qs(line.name), 40, Qt::white);
    centredText(p, QRectF(0, 105, 320, 30), QString(d == Direction::down ? "下り" : "上り") + " 普通 " + qs(line.stations.back().name) + "行", 20, Qt::white);
    centredText(p, QRectF(0, 170, 320, 24), "メニューの「運転開始」で発車します", 14, QColor(255, 240, 200), false);
    p.end();
    savePicture(image, folder, f.opening);
}

void paintRouteMap(const std::string& folder, const RoutePictureFiles& f, const LineGeometry& down)
{
    const int width = 240, height = 100;
    QImage image = canvas(width, height, QColor(245, 245, 240));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 150, 60), 5));
    p.drawLine(QPointF(15, 50), QPointF(width - 15, 50));
    for (const StationSite& s : down.stations) {
        const double x = 15 + (width - 30) * s.positionM / down.lengthM;
        p.setPen(QPen(Qt::black, 2));
        p.setBrush(s.kind == passing ? QColor(200, 200, 200) : Qt::white);
        p.drawEllipse(QPointF(x, 50), 5, 5);
        const bool above = (&s - down.stations.data()) % 2 == 0;
        centredText(p, QRectF(x - 40, above ? 18 : 60, 80, 20), qs(s.name), 10, Qt::black, false);
    }
    p.end();
    markKey(image);
    savePicture(image, folder, f.subDisplay);
}

void paintMonitor(const std::string& folder, const RoutePictureFiles& f, const LineGeometry& line)
{
    const int cells = static_cast<int>(line.stations.size()) + 1;
    QImage image = strip(monitorWidth, monitorHeight, cells);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    for (int k = 0; k < cells; ++k) {
        const QRectF r = cell(k, monitorWidth, monitorHeight, 1);
        p.setPen(QPen(QColor(90, 90, 90), 2));
        p.setBrush(QColor(8, 10, 16));
        p.drawRect(r);
        const QString name = k < cells - 1 ? qs(line.stations[static_cast<std::size_t>(k)].name) : QString("回送");
        centredText(p, r.adjusted(0, 2, 0, -r.height() / 2), qs(line.stations.back().name) + "行  普通", 12, QColor(120, 220, 120), false);
        centredText(p, r.adjusted(0, r.height() / 2 - 6, 0, 0), name, 20, QColor(255, 170, 40));
    }
    p.end();
    markKey(image);
    savePicture(image, folder, f.monitor);
}

void paintWindmill(const std::string& folder, const RoutePictureFiles& f)
{
    for (std::size_t k = 0; k < f.animation.size(); ++k) {
        QImage image = canvas(windowCellWidth, windowCellHeight);
        if (k > 0) {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            const QPointF hub(50, 28);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(235, 235, 230));
            QPolygonF tower;
            tower << QPointF(46, 28) << QPointF(54, 28) << QPointF(58, 75) << QPointF(42, 75);
            p.drawPolygon(tower);
            // Four blades: a quarter turn covers all the phases.
            const double phase = (k - 1) * 90.0 / animationPhases;
            p.setBrush(QColor(250, 250, 250));
            p.setPen(QPen(QColor(120, 120, 120), 1));
            for (int b = 0; b < 4; ++b) {
                const double a = (phase + 90 * b) * M_PI / 180;
                const QPointF tip = hub + QPointF(std::cos(a) * 26, std::sin(a) * 26);
                const QPointF side = QPointF(-std::sin(a) * 3, std::cos(a) * 3);
                QPolygonF blade;
                blade << hub << hub + side * 0.5 + (tip - hub) * 0.2 << tip + side << tip;
                p.drawPolygon(blade);
            }
            p.setBrush(QColor(80, 80, 80));
            p.drawEllipse(hub, 3, 3);
        }
        markKey(image);
        savePicture(image, folder, f.animation[k]);
    }
}

void paintRoadLights(const std::string& folder, const RoutePictureFiles& f)
{
    const QColor off(45, 45, 45);
    for (int k = 0; k < roadLightCount; ++k) {
        QImage image = canvas(windowCellWidth, windowCellHeight);
        if (k != roadDark) {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(Qt::black, 1));
            p.setBrush(QColor(30, 30, 34));
            if (k == roadPedestrian) {
                p.drawRect(QRectF(35, 10, 30, 55));
                p.setBrush(QColor(40, 220, 150));
                p.drawEllipse(QPointF(50, 50), 9, 9);
                centredText(p, QRectF(35, 40, 30, 20), "歩", 12, Qt::black);
            } else {
                p.drawRoundedRect(QRectF(8, 12, 84, 30), 6, 6);
                const QColor lamps[3] = {k == roadGreen ? QColor(40, 220, 150) : off, k == roadYellow ? QColor(255, 190, 30) : off,
                                         k == roadRed || k == roadRedArrow ? QColor(240, 40, 30) : off};
                for (int l = 0; l < 3; ++l) {
                    p.setBrush(lamps[l]);
                    p.drawEllipse(QPointF(24 + 26 * l, 27), 10, 10);
                }
                if (k == roadRedArrow) {
                    p.setBrush(QColor(30, 30, 34));
                    p.drawRect(QRectF(60, 44, 32, 22));
                    centredText(p, QRectF(60, 44, 32, 22), "→", 16, QColor(40, 220, 150));
                }
            }
        }
        markKey(image);
        savePicture(image, folder, f.roadLights[static_cast<std::size_t>(k)]);
    }
}

void paintCrossings(const std::string& folder, const RoutePictureFiles& f)
{
    for (std::size_t k = 0; k < f.crossings.size(); ++k) {
        QImage image = canvas(60, 60);
        if (k > 0) {
            // The crossing warning board: a black cross on yellow.
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            board(p, QRectF(6, 6, 48, 48), QColor(250, 210, 30), Qt::black);
            p.setPen(QPen(Qt::black, 6));
            p.drawLine(QPointF(14, 14), QPointF(46, 46));
            p.drawLine(QPointF(46, 14), QPointF(14, 46));
        }
        markKey(image);
        savePicture(image, folder, f.crossings[k]);
    }
}

}  // namespace

RoutePictureFiles routePictureFiles(Direction direction)
{
    const std::string d = directionWord(direction);
    RoutePictureFiles f;
    f.stopMarker = "image\\sign\\stop_marker.bmp";
    f.stopLineS = "image\\sign\\stop_line_s.bmp";
    f.stopLineM = "image\\sign\\stop_line_m.bmp";
    f.stopLineE = "image\\sign\\stop_line_e.bmp";
    f.slope = "image\\sign\\slope_" + d + ".bmp";
    f.limit = "image\\sign\\limit.bmp";
    f.remain = "image\\sign\\remain.bmp";
    f.other = "image\\sign\\other.bmp";
    f.signal = "image\\signal\\signal.bmp";
    f.subSignalS = "image\\signal\\plate.bmp";
    f.subSignalL = "image\\signal\\route_left.bmp";
    f.subSignalR = "image\\signal\\route_right.bmp";
    f.stafCard = "image\\staf_" + d + ".bmp";
    f.opening = "image\\opening_" + d + ".bmp";
    f.subDisplay = "image\\route_map.bmp";
    f.monitor = "image\\monitor_" + d + ".bmp";
    for (std::size_t k = 0; k <= animationPhases; ++k)
        f.animation.push_back(numbered("image\\anim\\windmill", k));
    for (std::size_t k = 0; k < roadLightCount; ++k)
        f.roadLights.push_back(numbered("image\\road\\light", k));
    for (std::size_t k = 0; k < 2; ++k)
        f.crossings.push_back(numbered("image\\cross\\crossing", k));
    return f;
}

std::vector<int> limitSignSpeeds(const LineGeometry& line)
{
    std::set<int> speeds;
    for (const Restriction& r : line.restrictions)
        speeds.insert(r.speedKmh);
    return {speeds.begin(), speeds.end()};
}

void writeRoutePictures(const std::string& dataFolder, Direction direction, const LineGeometry& line,
                        const Timetable& timetable)
{
    const RoutePictureFiles f = routePictureFiles(direction);
    paintStopMarker(dataFolder, f, static_cast<int>(line.stations.size()));
    paintStopLines(dataFolder, f);
    paintSlopeSigns(dataFolder, f, line);
    paintLimitSigns(dataFolder, f, limitSignSpeeds(line));
    paintRemainingDistance(dataFolder, f);
    paintOtherSigns(dataFolder, f);
    paintSignals(dataFolder, f);
    paintStafCard(dataFolder, f, direction, line, timetable);
    paintOpening(dataFolder, f, direction, line);
    paintRouteMap(dataFolder, f, direction == Direction::down ? line : reversedLine(line));
    paintMonitor(dataFolder, f, line);
    paintWindmill(dataFolder, f);
    paintRoadLights(dataFolder, f);
    paintCrossings(dataFolder, f);
}

}  // namespace cabdrive::demo
