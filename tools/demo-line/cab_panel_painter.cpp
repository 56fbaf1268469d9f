// Painting a cab panel and writing the keys that place its pictures.
#include "cab_panel_painter.h"

#include <QPainterPath>

#include <cmath>
#include <cstdio>

#include "paint_kit.h"

namespace cabdrive::demo {

namespace {

// The panel sits below the 800 x 600 view; everything here is in cab pixels.
constexpr int panelTop = 600;
constexpr int panelWidth = 800, panelHeight = 160;
constexpr double sweepDeg = 270;  // every dial runs from -135 to +135 degrees

const QColor panelGrey(58, 62, 66);
const QColor unlitLamp(40, 40, 40);

double toRadians(double deg)
{
    return deg * M_PI / 180;
}

// A point at `radius` from the centre in the direction a needle at `deg` points.
QPointF polar(const QPointF& centre, double radius, double deg)
{
    return centre + QPointF(std::sin(toRadians(deg)) * radius, -std::cos(toRadians(deg)) * radius);
}

struct Needle {
    std::string key;  // "[Needle_BC]"
    QColor colour;
    std::string file;
};

struct Dial {
    QPointF centre;  // cab pixels
    double radius = 0;
    double minValue = 0, maxValue = 0;
    double majorStep = 0, minorStep = 0;
    double labelDivisor = 1;  // scale numbers are value / labelDivisor
    QString caption;
    bool darkFace = false;
    double lowDegPerUnit = 0;
    std::vector<Needle> needles;

    double degPerUnit() const
    {
        if (lowDegPerUnit != 0)
            return (sweepDeg - 10 * lowDegPerUnit) / (maxValue - 10);
        return sweepDeg / (maxValue - minValue);
    }
    int offsetDeg() const { return static_cast<int>(std::lround(-sweepDeg / 2 - minValue * degPerUnit())); }
    double angle(double value) const { return needleAngle(value, offsetDeg(), degPerUnit(), lowDegPerUnit); }
};

struct Lamp {
    std::string key;
    QString label;
    QColor lit;
};

struct Strip {
    std::string key;
    int x = 0, y = 0, cellWidth = 0, cellHeight = 0;
    std::vector<QString> cells;
    QColor lit;
};

class PanelPainter {
public:
    PanelPainter(const std::string& dataFolder, const PanelDesign& design)
        : m_folder(dataFolder), m_design(design), m_panel(canvas(panelWidth, panelHeight, panelGrey)), m_p(&m_panel)
    {
        m_p.setRenderHint(QPainter::Antialiasing);
    }

    DataText paint();

private:
    std::string picture(const std::string& name) const { return m_design.pictureFolder + name; }
    void save(QImage& image, const std::string& name, bool keyed = true)
    {
        if (keyed)
            markKey(image);
        savePicture(image, m_folder, m_design.vehicleFolder + picture(name));
    }
    // Panel-local from cab coordinates.
    static QPointF local(const QPointF& cab) { return cab - QPointF(0, panelTop); }

    std::vector<Dial> dials() const;
    void paintDial(const Dial& d);
    void paintNeedle(const Dial& d, const Needle& n);
    void paintClock();
    void paintLinearGauges();
    void paintLamps();
    void paintStrip(const Strip& s);
    void paintOthers();
    void paintPanel2(DataText& out);

    const std::string& m_folder;
    const PanelDesign& m_design;
    QImage m_panel;
    QPainter m_p;
    // The keys in the order of the vehicle file.
    DataText m_clock, m_lamps, m_needles, m_strips, m_others;
};

std::vector<Dial> PanelPainter::dials() const
{
    std::vector<Dial> d;
    Dial speed{{100, 664}, 58, 0, static_cast<double>(m_design.maxSpeedKmh), 10, 5, 1, "km/h", true, m_design.lowSpeedDegPerKmh,
               {{"[Needle_Speed]", QColor(255, 140, 30), "needle_speed.bmp"}}};
    d.push_back(speed);
    d.push_back({{225, 664}, 52, 0, 1000, 100, 50, 100, "MR BC", false, 0,
                 {{"[Needle_MR]", QColor(210, 30, 30), "needle_mr.bmp"}, {"[Needle_BC]", Qt::black, "needle_bc.bmp"}}});
    d.push_back({{340, 664}, 52, 0, 1000, 100, 50, 100, "ER BP", false, 0,
                 {{"[Needle_ER]", QColor(210, 30, 30), "needle_er.bmp"}, {"[Needle_BP]", Qt::black, "needle_bp.bmp"}}});
    if (m_design.electric) {
        d.push_back({{440, 664}, 40, 0, 500, 100, 50, 100, "SAP", false, 0, {{"[Needle_SAP]", Qt::black, "needle_sap.bmp"}}});
        d.push_back({{525, 664}, 36, 0, 2000, 500, 250, 100, "V ×100", false, 0, {{"[Needle_V]", Qt::black, "needle_v.bmp"}}});
        const double low = m_design.ammeterAbsolute ? 0 : -1000;
        d.push_back({{605, 664}, 36, low, 1000, 500, 250, 100, "A ×100", false, 0, {{"[Needle_I]", Qt::black, "needle_i.bmp"}}});
    }
    return d;
}

void PanelPainter::paintDial(const Dial& d)
{
    const QPointF c = local(d.centre);
    m_p.setPen(QPen(QColor(150, 150, 150), 3));
    m_p.setBrush(d.darkFace ? QColor(18, 18, 20) : QColor(245, 245, 240));
    m_p.drawEllipse(c, d.radius, d.radius);
    const QColor ink = d.darkFace ? QColor(240, 240, 240) : Qt::black;
    const double labelSize = d.radius > 45 ? 11 : 9;
    for (double v = d.minValue; v <= d.maxValue + 1e-9; v += d.minorStep) {
        const bool major = std::fmod(std::abs(v), d.majorStep) < 1e-9;
        const double a = d.angle(v);
        m_p.setPen(QPen(ink, major ? 2 : 1));
        m_p.drawLine(polar(c, d.radius - 3, a), polar(c, d.radius - (major ? 10 : 6), a));
        if (major) {
            const QPointF at = polar(c, d.radius - 19, a);
            centredText(m_p, QRectF(at.x() - 14, at.y() - 8, 28, 16), QString::number(v / d.labelDivisor), labelSize, ink, false);
        }
    }
    centredText(m_p, QRectF(c.x() - d.radius, c.y() + d.radius * 0.52, 2 * d.radius, 12), d.caption, 9, ink, false);
    for (const Needle& n : d.needles)
        paintNeedle(d, n);
}

// A square picture as wide as the dial with the needle pointing straight up
// from its centre: the program turns it about that centre.
void PanelPainter::paintNeedle(const Dial& d, const Needle& n)
{
    const int size = static_cast<int>(2 * d.radius);
    QImage image = canvas(size, size);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        const QPointF c(d.radius, d.radius);
        QPainterPath shape;
        shape.moveTo(c + QPointF(-2.5, 6));
        shape.lineTo(c + QPointF(-1, -(d.radius - 8)));
        shape.lineTo(c + QPointF(1, -(d.radius - 8)));
        shape.lineTo(c + QPointF(2.5, 6));
        shape.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(n.colour);
        p.drawPath(shape);
        p.setBrush(QColor(90, 90, 90));
        p.drawEllipse(c, 4, 4);
    }
    save(image, n.file);
    const int x = static_cast<int>(std::lround(d.centre.x() - d.radius));
    const int y = static_cast<int>(std::lround(d.centre.y() - d.radius));
    m_needles.line(n.key).line(picture(n.file)).row(x).row(y).row(0).row(0).row(d.offsetDeg()).line(decimal(d.degPerUnit(), 6));
    if (n.key == "[Needle_Speed]")
        m_needles.line(decimal(d.lowDegPerUnit, 6));
    if (n.key == "[Needle_I]")
        m_needles.row(m_design.ammeterAbsolute ? 1 : 0);
}

void PanelPainter::paintClock()
{
    constexpr int x = 700, y = 606, handLength = 20;
    const QPointF c = local(QPointF(x + 25, y + 25));
    m_p.setPen(QPen(QColor(150, 150, 150), 2));
    m_p.setBrush(QColor(18, 18, 20));
    m_p.drawEllipse(c, 24, 24);
    m_p.setPen(QPen(QColor(220, 220, 220), 1));
    for (int h = 0; h < 12; ++h)
        m_p.drawLine(polar(c, 22, h * 30), polar(c, h % 3 == 0 ? 17 : 19, h * 30));
    m_clock.line("[Clock]").row(x).row(y).row(handLength);
}

void PanelPainter::paintLinearGauges()
{
    constexpr int zeroY = 712, scaleTop = 612;  // 0 kPa and 1000 kPa
    constexpr double pixelsPerKpa = (zeroY - scaleTop) / 1000.0;
    constexpr int markerHeight = 6;
    struct Bar {
        const char* key;
        int x;
        QColor colour;
        const char* file;
        const char* label;
    };
    for (const Bar& b : {Bar{"[Needle_BC_L]", 652, QColor(250, 250, 250), "bar_bc.bmp", "BC"},
                         Bar{"[Needle_MR_L]", 674, QColor(255, 80, 60), "bar_mr.bmp", "MR"}}) {
        const QPointF top = local(QPointF(b.x, scaleTop));
        m_p.setPen(QPen(QColor(150, 150, 150), 1));
        m_p.setBrush(QColor(18, 18, 20));
        m_p.drawRect(QRectF(top.x(), top.y(), 14, zeroY - scaleTop));
        for (int kpa = 0; kpa <= 1000; kpa += 200) {
            const double y = local(QPointF(0, zeroY - kpa * pixelsPerKpa)).y();
            m_p.drawLine(QPointF(top.x() + 9, y), QPointF(top.x() + 14, y));
        }
        centredText(m_p, QRectF(top.x() - 4, local(QPointF(0, zeroY)).y() + 1, 22, 10), b.label, 8, Qt::white, false);
        QImage marker = canvas(14, markerHeight, b.colour);
        save(marker, b.file, false);
        m_needles.line(b.key).line(picture(b.file)).row(b.x).row(zeroY - markerHeight / 2).line(decimal(pixelsPerKpa, 4));
    }
}

void PanelPainter::paintLamps()
{
    const QColor orange(255, 150, 30), red(240, 50, 40), green(60, 230, 110), yellow(255, 210, 40), white(240, 240, 230);
    const std::vector<Lamp> lamps = {
        {"[Lamp_Door]", "戸閉", orange}, {"[Lamp_Power]", "力行", green}, {"[Lamp_EB]", "EB", red},
        {"[Lamp_Gen]", "回生", yellow},  {"[Lamp_Air]", "空制", yellow},  {"[Lamp_Fin]", "限流", white},
        {"[Lamp_Ele]", "電制", green},   {"[Lamp_Ats1]", "ATS", white},  {"[Lamp_Ats2]", "ATS動", red},
        {"[Lamp_ATSP1]", "P接近", yellow}, {"[Lamp_ATSP2]", "Pブレ", red}, {"[Lamp_G]", "G", green},
        {"[Lamp_YG]", "YG", green},     {"[Lamp_Y]", "Y", yellow},     {"[Lamp_YY]", "YY", yellow},
        {"[Lamp_R]", "R", red},         {"[Lamp_Fwd]", "前", white},   {"[Lamp_Back]", "後", white},
        {"[Lamp_Const]", "定速", green}, {"[Lamp_Stop]", "停車", orange},
    };
    constexpr int width = 32, height = 14;
    for (std::size_t k = 0; k < lamps.size(); ++k) {
        const int x = 8 + 34 * static_cast<int>(k % 10);
        const int y = 726 + 16 * static_cast<int>(k / 10);
        const QRectF onPanel(x, y - panelTop, width, height);
        m_p.setPen(QPen(QColor(20, 20, 20), 1));
        m_p.setBrush(unlitLamp);
        m_p.drawRoundedRect(onPanel, 3, 3);
        centredText(m_p, onPanel, lamps[k].label, 9, QColor(110, 110, 110), false);
        QImage lit = canvas(width, height);
        {
            QPainter p(&lit);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(Qt::NoPen);
            p.setBrush(lamps[k].lit);
            p.drawRoundedRect(QRectF(0, 0, width, height), 3, 3);
            centredText(p, QRectF(0, 0, width, height), lamps[k].label, 9, Qt::black);
        }
        std::string file = "lamp_" + lamps[k].key.substr(6, lamps[k].key.size() - 7) + ".bmp";
        for (char& ch : file)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        save(lit, file);
        m_lamps.line(lamps[k].key).line(picture(file)).row(x).row(y);
    }
}

void PanelPainter::paintStrip(const Strip& s)
{
    const int cells = static_cast<int>(s.cells.size());
    QImage image = canvas(s.cellWidth * cells, s.cellHeight);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        for (int k = 0; k < cells; ++k) {
            const QRectF r(k * s.cellWidth + 1, 1, s.cellWidth - 2, s.cellHeight - 2);
            p.setPen(QPen(QColor(90, 90, 90), 1));
            p.setBrush(QColor(12, 12, 14));
            p.drawRoundedRect(r, 3, 3);
            const QString& word = s.cells[static_cast<std::size_t>(k)];
            centredText(p, r, word, fittingPixelSize(word, s.cellHeight * 0.6, r.width() - 4), s.lit);
        }
    }
    std::string file = s.key.substr(1, s.key.size() - 2) + ".bmp";
    for (char& ch : file)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    save(image, file);
    // The panel shows a dark socket where the strip is drawn.
    m_p.setPen(Qt::NoPen);
    m_p.setBrush(QColor(12, 12, 14));
    m_p.drawRect(QRectF(s.x, s.y - panelTop, s.cellWidth, s.cellHeight));
    m_strips.line(s.key).row(s.x).row(s.y).row(s.cellWidth).row(s.cellHeight).line(picture(file));
}

std::vector<QString> words(const std::vector<std::string>& list)
{
    std::vector<QString> out;
    for (const std::string& w : list)
        out.push_back(qs(w));
    return out;
}

void PanelPainter::paintOthers()
{
    // Hidden until the program shows them: the pattern protection badge and a
    // "doors" reminder plate.
    struct Other {
        const char* file;
        const char* text;
        QColor face;
        int x, y;
    };
    m_others.line("[Others]");
    for (const Other& o : {Other{"badge_atsp.bmp", "ATS-P", QColor(40, 120, 220), 756, 606},
                           Other{"badge_doors.bmp", "ドア", QColor(230, 120, 30), 756, 628}}) {
        QImage image = canvas(40, 18);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(Qt::NoPen);
            p.setBrush(o.face);
            p.drawRoundedRect(QRectF(0, 0, 40, 18), 4, 4);
            centredText(p, QRectF(0, 0, 40, 18), o.text, 10, Qt::white);
        }
        save(image, o.file);
        m_others.line(picture(o.file)).row(o.x).row(o.y);
    }
    m_others.line("#");
}

// A windscreen frame over the view; the program starts it fully transparent.
void PanelPainter::paintPanel2(DataText& out)
{
    constexpr int viewWidth = 800, viewHeight = 600;
    QImage frame = canvas(viewWidth, viewHeight);
    {
        QPainter p(&frame);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 32, 36));
        p.drawRect(QRectF(0, 0, viewWidth, 14));
        p.drawRect(QRectF(0, 0, 14, viewHeight));
        p.drawRect(QRectF(viewWidth - 14, 0, 14, viewHeight));
    }
    save(frame, "windscreen.bmp");
    out.line("[Panel2]").line(picture("windscreen.bmp")).row(0).row(0);
}

DataText PanelPainter::paint()
{
    for (const Dial& d : dials())
        paintDial(d);
    paintClock();
    paintLinearGauges();
    paintLamps();
    std::vector<QString> powerBars, brakeBars;
    for (std::size_t k = 0; k < m_design.powerWords.size(); ++k)
        powerBars.push_back(QString(static_cast<int>(k), QChar(0x25AE)));
    for (std::size_t k = 0; k < m_design.brakeWords.size(); ++k)
        brakeBars.push_back(QString(static_cast<int>(std::min<std::size_t>(k, 9)), QChar(0x25AE)));
    std::vector<QString> speeds;
    for (int v = 0; v < 200; ++v)
        speeds.push_back(QString::number(v));
    std::vector<QString> cabSignal;
    for (const int v : m_design.cabSignalSpeeds)
        cabSignal.push_back(v == 0 ? QString("×") : QString::number(v));
    const QColor green(90, 240, 120), red(255, 90, 70), amber(255, 180, 40), cyan(120, 220, 255);
    // The cab signal strip's header is followed by its speed list.
    paintStrip({"[Lamp_signal]", 700, 686, 56, 26, cabSignal, green});
    for (const int v : m_design.cabSignalSpeeds)
        m_strips.row(v);
    m_strips.line("#");
    for (const Strip& s : std::vector<Strip>{
             {"[NotchImageP]", 352, 726, 56, 30, words(m_design.powerWords), green},
             {"[NotchImageB]", 412, 726, 56, 30, words(m_design.brakeWords), red},
             {"[NotchImageP2]", 472, 726, 40, 30, powerBars, green},
             {"[NotchImageB2]", 516, 726, 40, 30, brakeBars, red},
             {"[GearImageList]", 560, 726, 44, 30, words(m_design.gearWords), amber},
             {"[GearImageList2]", 608, 726, 44, 30, words(m_design.leverWords), amber},
             {"[Digi_Speed]", 700, 660, 56, 22, speeds, cyan},
         })
        paintStrip(s);
    paintOthers();
    centredText(m_p, QRectF(660, 128, 136, 26), qs(m_design.nameplate), 14, QColor(210, 210, 200));
    m_p.end();
    save(m_panel, "panel.bmp", false);
    DataText out;
    out.append(m_clock).line("[Panel]").line(picture("panel.bmp")).row(0).row(panelTop);
    paintPanel2(out);
    return out.append(m_lamps).append(m_needles).append(m_strips).append(m_others);
}

}  // namespace

double needleAngle(double value, int offsetDeg, double degPerUnit, double lowDegPerUnit)
{
    if (lowDegPerUnit == 0 || value < 10)
        return value * (lowDegPerUnit == 0 ? degPerUnit : lowDegPerUnit) + offsetDeg;
    return value * degPerUnit + offsetDeg - (degPerUnit - lowDegPerUnit) * 10;
}

DataText paintCabPanel(const std::string& dataFolder, const PanelDesign& design)
{
    return PanelPainter(dataFolder, design).paint();
}

}  // namespace cabdrive::demo
