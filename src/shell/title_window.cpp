// TitleWindow (TForm5): the opening movie, the title picture and the menu of
// the two lines and the train; starts a run and comes back when it ends.
#include "shell/title_window.h"

#include <filesystem>
#include <optional>

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLabel>
#include <QRandomGenerator>
#include <QScreen>

#include "common/paths.h"
#include "common/rounding.h"
#include "data/title_media.h"
#include "platform/qt/qimage_picture_loader.h"
#include "shell/clickable_picture.h"
#include "shell/main_window.h"
#include "shell/media_player.h"
#include "shell/message_boxes.h"

namespace cabdrive {
namespace {

const QString applicationTitle = QStringLiteral("鉄道運転シミュレータ");
const QString pickTrainCaption = QStringLiteral("この路線を任意の列車で運転することができます");
const QString pickTrainFilter = QStringLiteral("列車データファイル (*.dat)");

constexpr int timer1IntervalMs = 100;
constexpr std::int32_t movieTickLimit = 1600;  // 160 s: the title comes even if the movie never ends
constexpr int clientHeightWithStatus = TitleWindow::pictureHeight + TitleWindow::statusHeight;
// The opening movie's small window is placed as if centring a 1000 x 666 one.
constexpr int movieCentringWidth = 1000;
constexpr int movieCentringHeight = 666;

// The window's own pictures, captions in this program.
ClickablePicture* captionButton(QWidget& parent, const char* name, const QString& caption, int left, int top)
{
    auto* button = new ClickablePicture(&parent);
    button->setObjectName(QString::fromLatin1(name));
    button->showCaption(caption);
    button->move(left, top);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

ClickablePicture* menuPicture(QWidget& parent, const char* name, int left, int top)
{
    auto* picture = new ClickablePicture(&parent);
    picture->setObjectName(QString::fromLatin1(name));
    picture->move(left, top);
    picture->setCursor(Qt::PointingHandCursor);
    return picture;
}

void loadMenuPicture(ClickablePicture& entry, const MenuEntryPicture& picture, bool transparentCorner = false)
{
    entry.loadPicture(std::string(picture.file),
                      QString::fromUtf8(picture.caption.data(), static_cast<qsizetype>(picture.caption.size())),
                      transparentCorner);
}

}  // namespace

TitleWindow::Desktop TitleWindow::systemDesktop()
{
    return {[](QWidget* owner, const QString& caption, const QString& filter) {
                return QFileDialog::getOpenFileName(owner, caption, QString(), filter);
            },
            [](const QUrl& document) { QDesktopServices::openUrl(document); }};
}

TitleWindow::TitleWindow(std::string programFolder, MessageBoxes& messages, AuxWindows& aux, Desktop desktop,
                         OpenAlOutput* soundCard, QWidget* parent)
    : QWidget(parent), m_messages(messages), m_aux(aux), m_desktop(std::move(desktop)), m_soundCard(soundCard)
{
    m_startup.programFolder = std::move(programFolder);
    buildWindow();
    FormCreate();
}

TitleWindow::~TitleWindow() = default;

void TitleWindow::buildWindow()
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(applicationTitle);
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);

    m_image1 = new ClickablePicture(this);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setGeometry(0, 0, pictureWidth, pictureHeight);
    m_image1->setFixedSize(pictureWidth, pictureHeight);
    m_image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_label1 = new QLabel(this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setGeometry(0, pictureHeight, pictureWidth, statusHeight);
    m_label1->setAutoFillBackground(true);
    m_label1->setPalette(QApplication::palette());

    m_line1 = menuPicture(*this, "line1", 73, 149);
    m_line2 = menuPicture(*this, "line2", 73, 209);
    m_train1 = menuPicture(*this, "train1", 570, 500);
    m_cursor = menuPicture(*this, "cursor", 0, 0);
    m_cursor->setCursor(Qt::ArrowCursor);
    m_cts = captionButton(*this, "cts", QStringLiteral("CLICK TO START"), 320, 540);
    m_help = captionButton(*this, "HELP", QStringLiteral("HELP"), 683, 571);
    m_back = captionButton(*this, "back", QStringLiteral("BACK"), 739, 571);
    m_quit = captionButton(*this, "quit", QStringLiteral("QUIT"), 11, 571);
    for (QWidget* hidden : {static_cast<QWidget*>(m_train1), static_cast<QWidget*>(m_cursor),
                            static_cast<QWidget*>(m_cts), static_cast<QWidget*>(m_back)})
        hidden->hide();

    m_dxDraw1 = new MovieSurface(this);
    m_dxDraw1->setObjectName(QStringLiteral("DXDraw1"));
    m_dxDraw1->setGeometry(0, 0, movieWidth, movieHeight);
    m_dxDraw1->raise();
    m_mediaPlayer1 = std::make_unique<MediaPlayer>(*m_dxDraw1, m_soundCard);

    connect(m_image1, &ClickablePicture::clicked, this, &TitleWindow::Imageclick);
    connect(m_cts, &ClickablePicture::clicked, this, &TitleWindow::Imageclick);
    connect(m_dxDraw1, &MovieSurface::clicked, this, &TitleWindow::Imageclick);
    for (ClickablePicture* line : {m_line1, m_line2})
        connect(line, &ClickablePicture::clicked, this, [this, line] { lineclick(line); });
    for (ClickablePicture* entry : {m_line1, m_line2, m_train1})
        connect(entry, &ClickablePicture::pressed, this,
                [this, entry](Qt::MouseButton button) { Menumousedown(entry, button); });
    connect(m_train1, &ClickablePicture::clicked, this, &TitleWindow::Trainclick);
    connect(m_help, &ClickablePicture::clicked, this, &TitleWindow::helpclick);
    connect(m_back, &ClickablePicture::clicked, this, &TitleWindow::backclick);
    connect(m_quit, &ClickablePicture::clicked, this, &TitleWindow::quitClick);

    m_timer1.setInterval(timer1IntervalMs);
    connect(&m_timer1, &QTimer::timeout, this, &TitleWindow::Timer1Timer);
}

void TitleWindow::FormCreate()
{
    loadMenuPicture(*m_line1, line1Picture);
    loadMenuPicture(*m_line2, line2Picture);
    loadMenuPicture(*m_train1, train1Picture);
    loadMenuPicture(*m_cursor, cursorPicture, true);

    QImagePictureLoader pictures;
    if (const std::optional<std::string> refusal = startUpRefusal("", pictures)) {
        m_messages.show(this, QString::fromStdString(*refusal));
        return;
    }
    m_created = true;

    m_dxDraw1->resize(movieWidth, movieHeight);
    placeAt(movieWidth, movieHeight, movieCentringWidth, movieCentringHeight);
    m_menuTicks = 0;
    m_timer1.start();
    m_titleState = openingMovie;
    playOpeningMovie();
    for (QWidget* entry : {static_cast<QWidget*>(m_line1), static_cast<QWidget*>(m_line2),
                           static_cast<QWidget*>(m_help), static_cast<QWidget*>(m_quit)})
        entry->hide();

    QRandomGenerator random(static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()));
    m_titlePicture = titlePictureFiles[random.bounded(2)];
    m_menuPicture = menuPictureFile;
}

// The movie is the program folder's, unlike every other title medium.
void TitleWindow::playOpeningMovie()
{
    const std::string movie = m_startup.programFolder + "move\\opening.avi";
    if (!std::filesystem::exists(resolveDataPath(movie)))
        return;
    m_mediaPlayer1->setFileName(movie);
    if (!m_mediaPlayer1->open() || !m_mediaPlayer1->play())
        m_messages.show(this, QStringLiteral("オープニングムービーを開けません"));
}

void TitleWindow::Timer1Timer()
{
    if (m_titleState == openingMovie) {
        ++m_movieTicks;
        const bool movieShown = !m_dxDraw1->isHidden();
        if (m_movieTicks >= movieTickLimit && movieShown) {
            Imageclick();
        } else if (m_mediaPlayer1->fileName().empty() && movieShown) {
            playSound(std::string(openingSoundFile));
            Imageclick();
        }
    } else if (m_titleState == menuShown) {
        ++m_menuTicks;
        m_quit->hide();
        if (m_menuTicks > 2)
            m_line1->show();
        if (m_menuTicks > 3)
            m_line2->show();
        if (m_menuTicks > 10)
            m_help->show();
        if (m_menuTicks > 11) {
            m_back->show();
            m_timer1.stop();
        }
    }
}

void TitleWindow::Imageclick()
{
    if (m_titleState == openingMovie) {
        // The movie plays on unseen; starting a run stops it.
        m_dxDraw1->hide();
        placeAt(pictureWidth, pictureHeight, pictureWidth, pictureHeight);
        m_titleState = titleShown;
        m_cts->show();
        showPicture(m_titlePicture);
    } else if (m_titleState == titleShown) {
        m_titleState = menuShown;
        m_timer1.start();
        showPicture(m_menuPicture);
        m_quit->hide();
        m_cts->hide();
    }
}

void TitleWindow::lineclick(ClickablePicture* sender)
{
    m_startup.startStation = 0;
    m_startup.endStation = StationState::noCrewChange;
    m_cursor->move(sender->x() - 32, sender->y() + 10);
    m_cursor->show();
    m_cursor->raise();
    m_train1->show();
    if (sender == m_line1)
        m_startup.routeFileName = "line_down.dat";
    else if (sender == m_line2)
        m_startup.routeFileName = "line_up.dat";
}

void TitleWindow::Menumousedown(ClickablePicture* sender, Qt::MouseButton button)
{
    if (button != Qt::RightButton)
        return;
    const std::string picked = m_desktop.pickFile(this, pickTrainCaption, pickTrainFilter).toStdString();
    if (picked.empty())
        return;
    const std::size_t nameStart = picked.find_last_of('/') + 1;  // 0 without a separator
    m_pendingTrainFolder = picked.substr(0, nameStart);
    m_pendingTrainName = picked.substr(nameStart);
    lineclick(sender);
}

void TitleWindow::Trainclick()
{
    if (!m_pendingTrainName.empty()) {
        m_startup.trainFileName = m_pendingTrainName;
        m_startup.trainFolder = m_pendingTrainFolder;
    } else {
        m_startup.trainFileName = StartupValues{}.trainFileName;  // the default train
        m_startup.trainFolder.clear();
    }
    m_pendingTrainName.clear();
    m_pendingTrainFolder.clear();

    if (m_mediaPlayer1->isPlaying()) {
        m_mediaPlayer1->stop();
        m_mediaPlayer1->close();
    }
    playSound(std::string(startSoundFile));

    setClientHeight(clientHeightWithStatus);
    setStatus(QStringLiteral("Formを作成しています"));

    // Only the last run's window is kept; the one before goes now.
    m_mainWindow.reset();
    m_mainWindow = std::make_unique<MainWindow>(
        m_startup, [this](const QString& text) { setStatus(text); }, m_messages, m_aux, m_soundCard);
    if (!m_mainWindow->loaded()) {
        close();  // the loader has shown its message; the program ends
        return;
    }
    hide();
    m_runShown = true;
    m_mainWindow->runModal();
    m_runShown = false;
    m_mainWindow->hide();
    setClientHeight(pictureHeight);
    show();
}

void TitleWindow::helpclick()
{
    const std::filesystem::path readme = std::filesystem::absolute(resolveDataPath("readme.html"));
    m_desktop.openDocument(QUrl::fromLocalFile(QString::fromStdString(readme.string())));
}

void TitleWindow::backclick()
{
    m_titleState = titleShown;
    showPicture(m_titlePicture);
    for (QWidget* entry : {static_cast<QWidget*>(m_line1), static_cast<QWidget*>(m_line2),
                           static_cast<QWidget*>(m_train1), static_cast<QWidget*>(m_help),
                           static_cast<QWidget*>(m_cursor), static_cast<QWidget*>(m_back)})
        entry->hide();
    m_cts->show();
    m_quit->show();
}

void TitleWindow::quitClick()
{
    m_mainWindow.reset();
    close();
}

QWidget* TitleWindow::runningMainWindow() const
{
    return m_runShown ? m_mainWindow.get() : nullptr;
}

// However the window closes, the program ends: the last run's window goes too.
void TitleWindow::closeEvent(QCloseEvent* event)
{
    m_timer1.stop();
    m_mediaPlayer1->close();
    m_mainWindow.reset();
    event->accept();
    Q_EMIT closed();
}

void TitleWindow::showPicture(const std::string& dataPath)
{
    m_image1->loadPicture(dataPath, QString());
    m_shownPicture = dataPath;
}

// Errors of the title sounds are ignored: the title goes on silently.
void TitleWindow::playSound(const std::string& dataPath)
{
    m_mediaPlayer1->setFileName(dataPath);
    if (m_mediaPlayer1->open())
        m_mediaPlayer1->play();
}

void TitleWindow::setClientHeight(int height)
{
    resize(width(), height);
}

// Positions are rounded to the nearest pixel, halves to even.
void TitleWindow::placeAt(int width, int height, int screenCentringWidth, int screenCentringHeight)
{
    resize(width, height);
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect area = screen->geometry();
    move(static_cast<int>(roundTiesEven((area.width() - screenCentringWidth) / 2.0L)),
         static_cast<int>(roundTiesEven((area.height() - screenCentringHeight) / 2.0L)));
}

void TitleWindow::setStatus(const QString& text)
{
    m_label1->setText(text);
    m_label1->repaint();
}

}  // namespace cabdrive
