// The main window: loading a run, the menu commands, the run's clocks and the
// window's components.
#include "shell/main_window.h"

#include <cmath>
#include <iostream>
#include <optional>

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "common/load_error.h"
#include "data/display_options.h"
#include "platform/ffmpeg/ffmpeg_video_reader.h"
#include "platform/openal/openal_sound_device.h"
#include "platform/openal/silent_sound_device.h"
#include "platform/qt/live_server.h"
#include "platform/qt/qimage_picture_loader.h"
#include "platform/qt/qsettings_key_value_store.h"
#include "platform/sdl/sdl_joystick.h"
#include "run/run_builder.h"
#include "run/scheduler.h"
#include "shell/aux_windows.h"
#include "shell/cab_surface.h"
#include "shell/controller_menu.h"
#include "shell/crew_change_dialog.h"
#include "shell/easy_panel.h"
#include "shell/message_boxes.h"
#include "shell/save_menu.h"
#include "shell/value_display_window.h"
#include "shell/window_requests.h"
#include "sim/station_jump.h"
#include "sound/sound_pause.h"
#include "state/channel_layout.h"
#include "view/readout_texts.h"

namespace cabdrive {
namespace {

constexpr int clockFeedMs = 5;  // how often the wall clock is fed to the scheduler

const QString windowCaption = QStringLiteral("鉄道運転シミュレータ");
const QString pauseCaption = QStringLiteral("一時停止(&S)");
const QString resumeCaption = QStringLiteral("運転再開(&S)");

enum class LabelFont { Normal, Small, Large };

struct LabelPlace {
    int left, top;  // px in the client area
    int width;      // px; 0 sizes the label to its text
    const char* text;
    Qt::Alignment alignment;
    LabelFont font;
};

// Label0 .. Label14. The gear (Label3) and the crossing distance (Label9)
// stand on the bottom row; Label6 sits below the client area's bottom edge
// and is never seen, as in the window's design.
constexpr std::array<LabelPlace, 15> labelPlaces = {{
    {820, 712, 48, "", Qt::AlignLeft, LabelFont::Normal},
    {892, 712, 48, "", Qt::AlignLeft, LabelFont::Normal},
    {956, 712, 48, "", Qt::AlignLeft, LabelFont::Normal},
    {820, 736, 0, "ギア", Qt::AlignLeft, LabelFont::Normal},
    {820, 606, 221, "", Qt::AlignLeft, LabelFont::Normal},
    {1055, 606, 54, "", Qt::AlignLeft, LabelFont::Normal},
    {924, 758, 0, "自車", Qt::AlignLeft, LabelFont::Normal},
    {1044, 712, 0, "00:00:00", Qt::AlignLeft, LabelFont::Normal},
    {808, 340, 0, "", Qt::AlignLeft, LabelFont::Small},
    {892, 736, 0, "トロコン", Qt::AlignLeft, LabelFont::Normal},
    {836, 638, 341, "", Qt::AlignLeft, LabelFont::Normal},
    {820, 670, 139, "0.0 km/h", Qt::AlignRight, LabelFont::Normal},
    {1004, 670, 106, "0 m", Qt::AlignRight, LabelFont::Normal},
    {820, 560, 149, "", Qt::AlignLeft, LabelFont::Normal},
    {1052, 560, 221, "", Qt::AlignLeft, LabelFont::Large},
}};

constexpr int label14Height = 48;  // px
constexpr int label5 = 5, label6 = 6;

QString qtext(const std::string& text)
{
    return QString::fromStdString(text);
}

QImage imageOf(const Picture& picture)
{
    return QImage(reinterpret_cast<const uchar*>(picture.pixels.data()), picture.width, picture.height,
                  picture.width * 4, QImage::Format_ARGB32)
        .copy();
}

// A transparent picture control: the colour of the picture's bottom-left
// pixel shows what lies beneath.
QPixmap keyedByBottomLeftPixel(const Picture& picture)
{
    const QImage image = imageOf(picture);
    QPixmap pixmap = QPixmap::fromImage(image);
    if (!image.isNull())
        pixmap.setMask(QBitmap::fromImage(image.createMaskFromColor(image.pixel(0, image.height() - 1))));
    return pixmap;
}

// A label that shows one readout: white on a dark backing, so that it reads
// over any picture beneath it (the sub-display's route map is light).
QLabel* makeLabel(QWidget& parent, int index)
{
    const LabelPlace& place = labelPlaces[static_cast<std::size_t>(index)];
    auto* label = new QLabel(QString::fromUtf8(place.text), &parent);
    label->setObjectName(QStringLiteral("Label%1").arg(index));
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, Qt::white);
    colours.setColor(QPalette::Window, QColor(0, 0, 0, 200));
    label->setPalette(colours);
    label->setAutoFillBackground(!label->text().isEmpty());
    label->setMargin(2);
    label->setAlignment(place.alignment | Qt::AlignVCenter);
    QFont font = label->font();
    if (place.font == LabelFont::Small)
        font.setPointSizeF(font.pointSizeF() * 0.8);
    if (place.font == LabelFont::Large)
        font.setPointSizeF(font.pointSizeF() * 1.6);
    label->setFont(font);
    label->adjustSize();
    if (place.width > 0)
        label->resize(place.width, place.font == LabelFont::Large ? label14Height : label->height());
    label->move(place.left, place.top);
    return label;
}

// The back button: a small white arrow on black.
QPixmap backArrow()
{
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::black);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPolygon(QPolygonF({QPointF(15, 3), QPointF(15, 17), QPointF(4, 10)}));
    return pixmap;
}

// The run's sound goes to the program's sound card. Without one (the
// program has said so) the run is silent, its sounds keeping the run's time,
// so that whatever waits for a sound to end waits as long as it would have;
// the run goes on either way.
class RunSound {
public:
    explicit RunSound(OpenAlOutput* card) : m_card(card)
    {
        if (m_card != nullptr && m_card->available() && m_card->connected())
            m_channels.emplace(*m_card);
    }
    SoundDevice& channels() { return m_channels ? static_cast<SoundDevice&>(*m_channels) : m_silent; }
    // Once the run is loaded: a card that gives fewer sources than the run
    // has channels leaves the top ones (the engine sounds, the call-outs) mute.
    void reportMissingChannels(std::size_t used) const
    {
        if (!m_channels || m_channels->sourcedChannels() >= used)
            return;
        std::cerr << "cabdrive: the sound card gives " << m_channels->sourcedChannels() << " of the " << used
                  << " sound channels this run uses; channels " << m_channels->sourcedChannels()
                  << " and above stay silent\n";
    }
    // Before every tick, with the run's time.
    void advanceTo(std::chrono::nanoseconds time)
    {
        m_silent.advanceTo(time);
        if (m_connected && m_channels && !m_card->connected()) {
            m_connected = false;
            std::cerr << "cabdrive: the sound card was lost; the run goes on silent\n";
        }
    }

private:
    OpenAlOutput* m_card;
    std::optional<OpenAlSoundDevice> m_channels;
    SilentSoundDevice m_silent;
    bool m_connected = true;
};

}  // namespace

// Everything one run loads and owns: the devices first, so that they
// outlive the run that acts through them.
struct MainWindow::Session {
    explicit Session(OpenAlOutput* soundCard) : sound(soundCard) {}

    QImagePictureLoader pictures;
    RunSound sound;
    FfmpegVideoReader video;
    QSettingsKeyValueStore store;
    SdlJoystick joystick;
    std::unique_ptr<WindowRequests> shell;
    std::unique_ptr<LoadedRun> loaded;
    Run* run = nullptr;
    std::optional<Scheduler> scheduler;
    SoundResume soundResume;
};

MainWindow::MainWindow(const StartupValues& startup, std::function<void(const QString&)> status,
                       MessageBoxes& messages, AuxWindows& aux, OpenAlOutput* soundCard, QWidget* parent)
    : QMainWindow(parent), m_startup(startup), m_status(std::move(status)), m_aux(aux), m_messages(messages, aux.live),
      m_soundCard(soundCard)
{
    buildWindow();
    try {
        FormCreate();
    } catch (const LoadError& error) {
        if (m_untendai)
            m_untendai->detach();
        m_session.reset();
        messages.show(nullptr, QString::fromUtf8(error.what()));  // no run for the stream to tell it with
    }
}

// A window released without closing stores nothing, but its run must stop
// before the components that draw and drive it let go of it.
MainWindow::~MainWindow()
{
    if (!m_closed && m_session)
        stopRun();
}

bool MainWindow::loaded() const
{
    return m_session != nullptr;
}

Run* MainWindow::run()
{
    return m_session ? m_session->run : nullptr;
}

Scheduler* MainWindow::scheduler()
{
    return m_session && m_session->scheduler ? &*m_session->scheduler : nullptr;
}

// The title window hides while a run is shown, so nothing needs blocking;
// the Help window, the easy panel and the crew-change dialog, shown during
// the run, must take their clicks. Hence no window modality, only the wait.
void MainWindow::runModal()
{
    if (m_closed || !loaded())
        return;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
    show();
    activateWindow();
    QEventLoop loop;
    connect(this, &MainWindow::closed, &loop, &QEventLoop::quit);
    loop.exec();
}

// --- the window and its components ---

void MainWindow::buildWindow()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(windowCaption);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setFocusPolicy(Qt::StrongFocus);

    auto* client = new QWidget(this);
    m_client = client;
    client->setMinimumSize(clientWidth, clientHeight);
    client->setAutoFillBackground(true);
    QPalette black = client->palette();
    black.setColor(QPalette::Window, Qt::black);
    client->setPalette(black);
    client->installEventFilter(this);
    setCentralWidget(client);

    m_untendai = new CabSurface(client);
    m_untendai->setObjectName(QStringLiteral("untendai"));
    m_untendai->setGeometry(0, 0, CabSurface::designWidth, CabSurface::designHeight);
    connect(m_untendai, &CabSurface::clicked, this, &MainWindow::movieclick);
    // Queued: the window closes after the render pass that ended the fade.
    connect(m_untendai, &CabSurface::fadeClosed, this, &QWidget::close, Qt::QueuedConnection);

    m_subDisp = new QLabel(client);
    m_subDisp->setObjectName(QStringLiteral("sub_disp"));
    m_subDisp->setGeometry(798, 545, 480, 360);
    m_subDisp->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_back = new QLabel(client);
    m_back->setObjectName(QStringLiteral("back"));
    m_back->setGeometry(1168, 727, 20, 20);
    m_back->setPixmap(backArrow());
    m_back->setCursor(Qt::PointingHandCursor);
    m_back->installEventFilter(this);

    m_staffCard = new QLabel(client);
    m_staffCard->setObjectName(QStringLiteral("staffCard"));
    m_staffCard->hide();

    for (int i = 0; i < static_cast<int>(m_labels.size()); ++i)
        m_labels[static_cast<std::size_t>(i)] = makeLabel(*client, i);
    for (QWidget* beside : std::initializer_list<QWidget*>{m_subDisp, m_back})
        m_besideCab.emplace_back(beside, beside->pos());
    for (QLabel* label : m_labels)
        m_besideCab.emplace_back(label, label->pos());

    buildMenu();
    adjustSize();
    m_tickTimer.setTimerType(Qt::PreciseTimer);
    m_tickTimer.setInterval(clockFeedMs);
    connect(&m_tickTimer, &QTimer::timeout, this, &MainWindow::feedClock);
}

QAction* MainWindow::addToggle(QMenu& menu, const char* name, const QString& caption, void (MainWindow::*command)())
{
    QAction* action = menu.addAction(caption, this, command);
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(true);
    return action;
}

void MainWindow::buildMenu()
{
    QMenuBar* bar = menuBar();
    m_start1 = bar->addAction(QStringLiteral("Start"), this, &MainWindow::start1Click);
    m_start1->setObjectName(QStringLiteral("start1"));

    m_goTo1 = bar->addMenu(QStringLiteral("Move"));
    m_goTo1->setObjectName(QStringLiteral("GoTo1"));

    m_show1 = bar->addMenu(QStringLiteral("Display"));
    m_show1->setObjectName(QStringLiteral("Show1"));
    QAction* help = m_show1->addAction(QStringLiteral("操作説明(&U)"), this, [this] {
        if (m_aux.help)
            m_aux.help->show();
    });
    help->setObjectName(QStringLiteral("menu_d1"));
    m_D1 = addToggle(*m_show1, "D1", QStringLiteral("解説なし(&D)"), &MainWindow::D1Click);
    QAction* easyPanel = m_show1->addAction(QStringLiteral("かんたん運転台(&E)"), this, [this] {
        if (m_aux.easyPanel)
            m_aux.easyPanel->show();
    });
    easyPanel->setObjectName(QStringLiteral("N3"));
    m_OFF1 = addToggle(*m_show1, "OFF1", QStringLiteral("喚呼なし(&K)"), &MainWindow::OFF1Click);
    m_OFF2 = addToggle(*m_show1, "OFF2", QStringLiteral("停止位置ラインを表示しない(&S)"), &MainWindow::OFF2Click);
    m_OFFC1 = addToggle(*m_show1, "OFFC1", QStringLiteral("文字表示モード切り替え(&C)"), &MainWindow::OFFC1Click);
    m_fullScreen = addToggle(*m_show1, "FullScreen1", QStringLiteral("全画面表示(&F)"), &MainWindow::FullScreenClick);
    m_fullScreen->setShortcut(Qt::Key_F11);

    m_controller1 = bar->addMenu(QStringLiteral("Controller(&C)"));
    m_controller1->setObjectName(QStringLiteral("Controller1"));
    m_controllerMenu = new ControllerMenu(*m_controller1, *this, m_messages);

    m_saveS1 = bar->addMenu(QStringLiteral("Save(&S)"));
    m_saveS1->setObjectName(QStringLiteral("SaveS1"));
    m_saveMenu = new SaveMenu(*m_saveS1, *this, [this](const std::function<void()>& restore) { holdClocks(restore); });
}

// --- loading (FormCreate) ---

void MainWindow::showStatus(const QString& text)
{
    if (m_status)
        m_status(text);
}

void MainWindow::FormCreate()
{
    m_session = std::make_unique<Session>(m_soundCard);
    Session& s = *m_session;
    s.shell = std::make_unique<WindowRequests>(*this, m_messages, m_aux.crewChange, [this] { BackClick(); },
                                               [this] { toggleValueDisplay(); });
    const DataFolder folder{m_startup.programFolder, m_startup.trainFolder, m_startup.trainFileName};
    const RunSetup setup{m_startup.routeFileName, m_startup.startStation, m_startup.endStation};
    s.loaded = loadRun(folder, setup,
                       RunPorts{s.pictures, s.sound.channels(), s.video, *s.shell, s.store, &s.joystick},
                       [this](const std::string& status) { showStatus(QString::fromStdString(status)); });
    s.run = &*s.loaded->run;
    s.sound.reportMissingChannels(channelsInUse(s.loaded->vehicle, *s.loaded->route));
    showTextLabels(s.run->options.Moji != 0, true);
    replaceMenuCaptions();
    addStationEntries();
    showStaffPictures();
    attachRun();
    setCheckMarksFromOptions();
    start1Click();
}

void MainWindow::replaceMenuCaptions()
{
    const Settings& settings = m_session->loaded->settings;
    const auto replace = [](QAction* entry, const std::string& caption) {
        if (!caption.empty())
            entry->setText(qtext(caption));
    };
    replace(m_start1, settings.captionStart);
    replace(m_goTo1->menuAction(), settings.captionMove);
    replace(m_show1->menuAction(), settings.captionDisplay);
    replace(m_controller1->menuAction(), settings.captionControl);
    replace(m_saveS1->menuAction(), settings.captionSave);
}

// One entry per station a train can be placed at (stop kinds 0 and 2), in
// route order; the last station is no place to start from.
void MainWindow::addStationEntries()
{
    const StationTable& stations = m_session->loaded->route->stations;
    for (std::size_t i = 0; i + 1 < stations.size(); ++i) {
        const Station& station = stations[i];
        if (station.kind != 0 && station.kind != 2)
            continue;
        const int index = static_cast<int>(i);
        QAction* entry = m_goTo1->addAction(qtext(station.name), this, [this, index] { StationMenuClick(index); });
        entry->setObjectName(QStringLiteral("Sta%1").arg(index));
    }
}

void MainWindow::showStaffPictures()
{
    const StaffPictures& staff = m_session->loaded->staff;
    if (staff.staffCard) {
        m_staffCard->setPixmap(keyedByBottomLeftPixel(*staff.staffCard));
        m_staffCard->adjustSize();
        m_besideCab.emplace_back(m_staffCard, QPoint(m_session->loaded->settings.panelLeft, 0));
        layoutClient();
        m_staffCard->show();
        m_staffCard->raise();
    }
    if (staff.subDisplay)
        m_subDisp->setPixmap(QPixmap::fromImage(imageOf(*staff.subDisplay)));
}

void MainWindow::attachRun()
{
    Session& s = *m_session;
    Run& run = *s.run;
    s.scheduler.emplace(run);
    s.scheduler->beforeTick = [&s] { s.sound.advanceTo(s.scheduler->simulatedTime()); };
    s.scheduler->afterTick = [this] { Timer1Timer(); };
    m_untendai->attach(run, s.video);
    m_controllerMenu->attach(run, s.store);
    m_saveMenu->attach(run);
    if (m_aux.easyPanel)
        m_aux.easyPanel->attach(run, *this);
    if (m_aux.crewChange)
        connect(m_aux.crewChange, &CrewChangeDialog::endOfRunChosen, this, &MainWindow::BackClick);
    if (m_aux.valueDisplay)
        m_aux.valueDisplay->attach(run, *this, [this] { return m_untendai->measuredFps(); });
    if (m_aux.live) {
        m_aux.live->attach(run);
        connect(m_aux.live, &LiveServer::inputApplied, this, &MainWindow::keepCabSurfaceTop);
    }
}

// The check mark of OFF2 shows the stored ATS option, although the entry
// switches the stopping-position lines only.
void MainWindow::setCheckMarksFromOptions()
{
    const DisplayOptions& options = m_session->run->options;
    m_OFF1->setChecked(options.Kanko == 1);
    m_D1->setChecked(options.Information == 1);
    m_OFFC1->setChecked(options.Moji == 1);
    m_OFF2->setChecked(options.ATS == 1);
}

// --- running and pausing ---

void MainWindow::start1Click()
{
    Run* r = run();
    if (!r || m_closed)
        return;
    Session& s = *m_session;
    if (tickRunning()) {
        s.soundResume.pauseSounds(r->sound);
        s.scheduler->pause();
        m_tickTimer.stop();
        m_untendai->setTickRunning(false);
        m_start1->setText(resumeCaption);
    } else {
        s.scheduler->start();
        m_wallClock.start();
        m_fedNanoseconds = 0;
        m_tickTimer.start();
        m_untendai->setTickRunning(true);
        m_start1->setText(pauseCaption);
        s.soundResume.resumeSounds(r->sound);
    }
    --r->state.presentation.lastDecodedFrame;  // the renderer decodes the current frame again
}

// A restore changes what the physics step and the tick work on: no step
// runs meanwhile, and the time it takes (a message box included) is not
// made up afterwards.
void MainWindow::holdClocks(const std::function<void()>& action)
{
    const bool running = m_tickTimer.isActive();
    m_tickTimer.stop();
    action();
    if (running && !m_closed) {
        m_wallClock.start();
        m_fedNanoseconds = 0;
        m_tickTimer.start();
    }
}

void MainWindow::movieclick()
{
    if (!tickRunning())
        start1Click();
}

// The wall-clock time since the last feed, in whole nanoseconds, so that no
// time is lost to rounding however often the timer fires.
void MainWindow::feedClock()
{
    if (m_inTick || !m_session)
        return;
    m_inTick = true;
    const qint64 now = m_wallClock.nsecsElapsed();
    const qint64 elapsed = now - m_fedNanoseconds;
    m_fedNanoseconds = now;
    m_session->scheduler->advanceBy(Scheduler::Duration(elapsed));
    m_inTick = false;
}

// After every 100 ms tick: the window's share of it.
void MainWindow::Timer1Timer()
{
    if (m_aux.easyPanel)
        m_aux.easyPanel->refresh();
    refreshValueDisplay();
    m_controllerMenu->afterTick();
    if (m_aux.live)
        m_aux.live->afterTick();
    if (m_session->run->options.Moji != 0)
        fillTextLabels();
}

// While the value display is shown the caption names the line, then the
// window follows the run.
void MainWindow::refreshValueDisplay()
{
    if (!m_aux.valueDisplay || !m_aux.valueDisplay->isVisible())
        return;
    if (windowTitle() == windowCaption)
        setWindowTitle(qtext(m_session->run->route.lineName));
    m_aux.valueDisplay->refresh();
}

void MainWindow::toggleValueDisplay()
{
    if (!m_aux.valueDisplay || !run() || m_closed)
        return;
    m_aux.valueDisplay->toggle();
    refreshValueDisplay();
}

void MainWindow::fillTextLabels()
{
    const ReadoutTexts texts = readoutTexts(*m_session->run);
    const auto set = [this](int index, const std::string& text) {
        QLabel& label = *m_labels[static_cast<std::size_t>(index)];
        const QString shown = qtext(text);
        if (label.text() == shown)
            return;
        label.setText(shown);
        // An empty readout leaves no dark patch over the picture.
        label.setAutoFillBackground(!shown.isEmpty());
        if (labelPlaces[static_cast<std::size_t>(index)].width == 0)
            label.adjustSize();
    };
    set(0, texts.reverser);
    set(1, texts.power);
    set(2, texts.brake);
    set(3, texts.gear);
    set(4, texts.nextStation);
    set(5, texts.trafficLight);
    set(7, texts.clock);
    if (texts.oneManNotice)
        set(8, *texts.oneManNotice);
    set(9, texts.crossingDistance);
    set(10, texts.limit);
    set(11, texts.speed);
    set(12, texts.distance);
    set(13, texts.currentStop);
    set(14, texts.nextStop);
}

// --- display options ---

void MainWindow::D1Click()
{
    if (Run* r = run())
        r->options.Information = m_D1->isChecked() ? 1 : 0;
}

void MainWindow::OFF1Click()
{
    if (Run* r = run())
        r->options.Kanko = m_OFF1->isChecked() ? 1 : 0;
}

void MainWindow::OFF2Click()
{
    if (Run* r = run()) {
        for (const char* line : {"img_unten_teimokuS", "img_unten_teimokuM", "img_unten_teimokuE"})
            r->scene.setVisible(line, !m_OFF2->isChecked());
    }
}

void MainWindow::OFFC1Click()
{
    Run* r = run();
    if (!r)
        return;
    r->options.Moji = m_OFFC1->isChecked() ? 1 : 0;
    showTextLabels(r->options.Moji == 1, false);
}

// Label5 and Label6 show only from the window's creation in text mode until
// the mode is first switched.
void MainWindow::showTextLabels(bool textMode, bool includingLabel5And6)
{
    for (int i = 0; i < static_cast<int>(m_labels.size()); ++i) {
        const bool fiveOrSix = i == label5 || i == label6;
        m_labels[static_cast<std::size_t>(i)]->setVisible(textMode && (includingLabel5And6 || !fiveOrSix));
    }
}

// --- the station menu, activation, the end of the run ---

void MainWindow::StationMenuClick(int station)
{
    Run* r = run();
    if (!r || m_closed)
        return;
    StationClick(*r, station);
    setWindowTitle(qtext(r->route.lineName));
}

// Before the start (and while paused) the view shows the route's opening
// picture over the cab.
void MainWindow::FormActivate()
{
    if (!m_session || m_closed || tickRunning() || !m_session->loaded->staff.opening)
        return;
    m_untendai->showStill(*m_session->loaded->staff.opening);
}

void MainWindow::BackClick()
{
    Run* r = run();
    if (!r || m_closed)
        return;
    // A paused run draws nothing, so its fade could never end: it closes at once.
    if (!tickRunning()) {
        close();
        return;
    }
    r->state.presentation.fadeLevel = 1;
}

void MainWindow::keepCabSurfaceTop()
{
    layoutClient();
}

// --- the window's size ---

// The cab picture fills the window as far as its aspect allows, scaled; the
// labels and pictures beside it keep their size and their places right of
// it. At the design size everything stands where the design has it.
void MainWindow::layoutClient()
{
    const QSize area = m_client->size();
    constexpr int besideWidth = clientWidth - CabSurface::designWidth;  // px right of the cab
    const double scale = std::max(0.05, std::min(static_cast<double>(area.width() - besideWidth) / CabSurface::designWidth,
                                                 static_cast<double>(area.height()) / clientHeight));
    const auto scaled = [scale](int length) { return static_cast<int>(std::lround(length * scale)); };
    const int cabWidth = scaled(CabSurface::designWidth);
    const int left = std::max(0, (area.width() - cabWidth - besideWidth) / 2);
    const int top = std::max(0, (area.height() - scaled(clientHeight)) / 2);
    const int cabSurfaceTop = m_session && m_session->run ? m_session->run->state.presentation.cabSurfaceTop : 0;
    m_untendai->setGeometry(left, top + scaled(cabSurfaceTop), cabWidth, scaled(CabSurface::designHeight));
    for (const auto& [widget, designPlace] : m_besideCab)
        widget->move(left + cabWidth + designPlace.x() - CabSurface::designWidth, top + designPlace.y());
}

// Full screen shows the cab as large as the screen allows, whatever its size.
void MainWindow::FullScreenClick()
{
    if (m_fullScreen->isChecked()) {
        m_client->setMinimumSize(0, 0);
        showFullScreen();
    } else {
        showNormal();
        m_client->setMinimumSize(clientWidth, clientHeight);
    }
}

void MainWindow::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
    if (event->type() == QEvent::WindowStateChange)
        m_fullScreen->setChecked(isFullScreen());
    QMainWindow::changeEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_client && event->type() == QEvent::Resize)
        layoutClient();
    if (watched == m_back && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        BackClick();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!m_closed && m_session)
        FormCloseQuery();
    m_closed = true;
    event->accept();
    Q_EMIT closed();
}

// Everything stops before anything is released; the options are stored last.
void MainWindow::FormCloseQuery()
{
    stopRun();
    writeDisplayOptions(m_session->store, m_session->run->options);
    m_session->run->state.presentation.fadeLevel = 0;
}

void MainWindow::stopRun()
{
    Session& s = *m_session;
    m_closed = true;
    m_untendai->detach();
    m_tickTimer.stop();
    s.scheduler->pause();
    m_controllerMenu->detach();
    m_saveMenu->detach();
    if (m_aux.easyPanel) {
        m_aux.easyPanel->detach();
        m_aux.easyPanel->close();
    }
    if (m_aux.crewChange)
        disconnect(m_aux.crewChange, nullptr, this, nullptr);
    if (m_aux.valueDisplay)
        m_aux.valueDisplay->detach();
    if (m_aux.live) {
        m_aux.live->detach();
        disconnect(m_aux.live, nullptr, this, nullptr);
    }
    s.video.close();
    s.run->sound.releaseAll();
}

}  // namespace cabdrive
