// TitleWindow (TForm5): the opening movie, the title picture and the menu of
// the two lines and the train; starts a run and comes back when it ends.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include <QTimer>
#include <QUrl>
#include <QWidget>

#include "shell/startup_values.h"

class QLabel;

namespace cabdrive {

struct AuxWindows;
class ClickablePicture;
class MainWindow;
class MediaPlayer;
class MessageBoxes;
class MovieSurface;
class OpenAlOutput;

class TitleWindow : public QWidget {
    Q_OBJECT
public:
    // What the title asks of the desktop; tests answer it themselves.
    struct Desktop {
        // The file-open dialog: the picked file's full path, or "" when cancelled.
        std::function<QString(QWidget* owner, const QString& caption, const QString& filter)> pickFile;
        // Opens a document in the desktop's default program.
        std::function<void(const QUrl& document)> openDocument;
    };
    static Desktop systemDesktop();

    // titleState
    static constexpr std::int32_t openingMovie = 0;
    static constexpr std::int32_t titleShown = 2;
    static constexpr std::int32_t menuShown = 3;

    static constexpr int pictureWidth = 800;   // px, Image1
    static constexpr int pictureHeight = 600;  // px
    static constexpr int statusHeight = 18;    // px, Label1 below the picture
    static constexpr int movieWidth = 640;     // px, DXDraw1
    static constexpr int movieHeight = 360;    // px

    // FormCreate. `programFolder` ends with its separator; the title media,
    // the settings file check and operation.dat are relative to the current
    // directory. `aux` is read when a run starts (it may be filled after).
    // The title's movie and sounds and every run play through `soundCard`,
    // the program's one (it must outlive the window); without one that is
    // open they are silent.
    TitleWindow(std::string programFolder, MessageBoxes& messages, AuxWindows& aux,
                Desktop desktop = systemDesktop(), OpenAlOutput* soundCard = nullptr, QWidget* parent = nullptr);
    ~TitleWindow() override;

    // False when the settings file was missing or a title picture would not
    // load (see startUpRefusal): the message, naming the file, has been shown
    // and the program ends.
    bool created() const { return m_created; }

    std::int32_t titleState() const { return m_titleState; }
    std::int32_t movieTicks() const { return m_movieTicks; }
    std::int32_t menuTicks() const { return m_menuTicks; }
    const StartupValues& startup() const { return m_startup; }
    const std::string& pendingTrainName() const { return m_pendingTrainName; }
    const std::string& pendingTrainFolder() const { return m_pendingTrainFolder; }
    const std::string& titlePicture() const { return m_titlePicture; }
    const std::string& shownPicture() const { return m_shownPicture; }  // in Image1; "" before the first

    // The window's components, by their names.
    ClickablePicture* Image1() const { return m_image1; }
    QLabel* Label1() const { return m_label1; }
    ClickablePicture* line1() const { return m_line1; }
    ClickablePicture* line2() const { return m_line2; }
    ClickablePicture* train1() const { return m_train1; }
    ClickablePicture* cursor() const { return m_cursor; }
    ClickablePicture* cts() const { return m_cts; }
    ClickablePicture* HELP() const { return m_help; }
    ClickablePicture* back() const { return m_back; }
    ClickablePicture* quit() const { return m_quit; }
    MovieSurface* DXDraw1() const { return m_dxDraw1; }
    MediaPlayer& MediaPlayer1() const { return *m_mediaPlayer1; }
    const QTimer& Timer1() const { return m_timer1; }

    // The main window of the current or last run, or null.
    MainWindow* mainWindow() const { return m_mainWindow.get(); }
    // The main window while its run is shown; null between runs.
    QWidget* runningMainWindow() const;

    // Handlers, by the names of the window's events.
    void Timer1Timer();
    void Imageclick();
    void lineclick(ClickablePicture* sender);
    void Menumousedown(ClickablePicture* sender, Qt::MouseButton button);
    void Trainclick();
    void helpclick();
    void backclick();
    void quitClick();

Q_SIGNALS:
    // The title window has closed: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildWindow();
    void FormCreate();
    void playOpeningMovie();
    void showPicture(const std::string& dataPath);
    void playSound(const std::string& dataPath);
    void setClientHeight(int height);
    void placeAt(int width, int height, int screenCentringWidth, int screenCentringHeight);
    void setStatus(const QString& text);

    StartupValues m_startup;
    MessageBoxes& m_messages;
    AuxWindows& m_aux;
    Desktop m_desktop;
    bool m_created = false;
    bool m_runShown = false;

    std::string m_pendingTrainName;
    std::string m_pendingTrainFolder;  // with its trailing separator
    std::int32_t m_titleState = openingMovie;
    std::int32_t m_movieTicks = 0;
    std::int32_t m_menuTicks = 0;  // never reset: later visits show the whole menu at once
    std::string m_titlePicture;
    std::string m_menuPicture;
    std::string m_shownPicture;
    OpenAlOutput* m_soundCard;
    std::unique_ptr<MainWindow> m_mainWindow;

    ClickablePicture* m_image1 = nullptr;
    QLabel* m_label1 = nullptr;
    ClickablePicture* m_line1 = nullptr;
    ClickablePicture* m_line2 = nullptr;
    ClickablePicture* m_train1 = nullptr;
    ClickablePicture* m_cursor = nullptr;
    ClickablePicture* m_cts = nullptr;
    ClickablePicture* m_help = nullptr;
    ClickablePicture* m_back = nullptr;
    ClickablePicture* m_quit = nullptr;
    MovieSurface* m_dxDraw1 = nullptr;
    std::unique_ptr<MediaPlayer> m_mediaPlayer1;
    QTimer m_timer1;
};

}  // namespace cabdrive
