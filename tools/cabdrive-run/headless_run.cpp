// cabdrive-run: a whole run without a window.
#include "headless_run.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "careful_driver.h"
#include "common/clock_text.h"
#include "common/load_error.h"
#include "common/paths.h"
#include "data/data_folder.h"
#include "journey_log.h"
#include "platform/openal/openal_sound_device.h"
#include "platform/openal/silent_sound_device.h"
#include "platform/openal/sound_recording.h"
#include "platform/qt/live_server.h"
#include "ports/video_reader.h"
#include "run/run_builder.h"
#include "run/scheduler.h"
#include "run_script.h"
#include "run_trace.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr double defaultSecondsAfterScript = 60;
constexpr double longestDrive = 4 * 3600;  // s: a driver ends at the last station long before
constexpr std::chrono::milliseconds tick{100};
constexpr int clockFeedMs = 5;          // how often a real-time run feeds the wall clock to the scheduler
constexpr int liveFlushMs = 2000;       // how long the end of a run waits for slow clients

class LiveStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::chrono::nanoseconds toDuration(double seconds)
{
    return std::chrono::nanoseconds(static_cast<std::int64_t>(std::llround(seconds * 1e9)));
}

std::vector<ScriptInput> loadScript(const std::string& file)
{
    if (file.empty())
        return {};
    // A script is a small text file; a device or a folder would never end.
    namespace fs = std::filesystem;
    std::error_code ec;
    if (fs::exists(file, ec) && (!fs::is_regular_file(file, ec) || fs::file_size(file, ec) > maxDataFileBytes))
        throw ScriptError("the script " + file + " is no text file of at most 64 MiB");
    std::ifstream in(file);
    if (!in)
        throw ScriptError("cannot open the script " + file);
    return readRunScript(in);
}

struct Journey {
    long double distance = 0;  // cm run, either way; the position itself jumps at [SpeedUnit] row boundaries
    long double topSpeed = 0;  // km/h

    // After a tick: the speed it set carries the train through the next three steps.
    void afterTick(long double speed)
    {
        distance += std::fabs(speed) / 36000 * 33333 * 3;
        topSpeed = std::max(topSpeed, std::fabs(speed));
    }
};

// Without "-0.0" for a distance that is nothing but rounding.
double shown(long double value)
{
    return std::fabs(value) < 0.005L ? 0.0 : static_cast<double>(value);
}

void printSummary(std::ostream& out, const Run& run, const Journey& journey, double seconds)
{
    const RunState& s = run.state;
    char text[256];
    std::snprintf(text, sizeof text,
                  "ran %.1f s: %.1f m, top speed %.1f km/h\nfinal position %.2f m, frame %d, speed %.1f km/h, clock %s\n",
                  seconds, shown(journey.distance / 100), shown(journey.topSpeed),
                  shown(s.dynamics.trainPosition / 100), s.video.currentFrame, shown(s.dynamics.trainSpeed),
                  clockText(s.time.clockTicks).c_str());
    out << text;
}

// The run's sound keeps the run's virtual time: mixed into the WAV file with
// --wav, else kept silently, so that sounds end when they would be heard to.
class RunSound {
public:
    explicit RunSound(const std::string& wavFile)
    {
        if (wavFile.empty())
            return;
        m_mix = std::make_unique<RunSoundOutput>(OpenAlOutput::Device::loopback, recordingRate);
        m_file = std::make_unique<SoundRecording>(m_mix->output, wavFile);
    }
    SoundDevice& channels() { return m_mix ? static_cast<SoundDevice&>(m_mix->channels) : m_silent; }
    void advanceTo(std::chrono::nanoseconds time)
    {
        if (m_file)
            m_file->renderUpTo(time);
        else
            m_silent.advanceTo(time);
    }

private:
    SilentSoundDevice m_silent;
    std::unique_ptr<RunSoundOutput> m_mix;
    std::unique_ptr<SoundRecording> m_file;
};

// The running time goes as fast as the run can, or with --realtime as the
// wall clock goes, the event loop turning in between: the live stream's
// clients are served there.
class Pacer {
public:
    Pacer(Scheduler& scheduler, bool realtime) : m_scheduler(scheduler), m_realtime(realtime) {}

    // Runs the scheduler until its running time reaches `time` or the run stops.
    void advanceTo(std::chrono::nanoseconds time)
    {
        if (!m_realtime) {
            m_scheduler.advanceBy(time - m_scheduler.runningTime());
            return;
        }
        if (!m_scheduler.running() || m_scheduler.runningTime() >= time)
            return;
        if (!m_wallClock.isValid())
            m_wallClock.start();
        QEventLoop loop;
        QTimer feed;
        feed.setTimerType(Qt::PreciseTimer);
        feed.setInterval(clockFeedMs);
        QObject::connect(&feed, &QTimer::timeout, [&] {
            // Whole nanoseconds of wall time, none lost to rounding however often the timer fires.
            const std::chrono::nanoseconds wall(m_wallClock.nsecsElapsed());
            const auto step = std::min(wall - m_fed, time - m_scheduler.runningTime());
            m_fed += step;
            m_scheduler.advanceBy(step);
            if (!m_scheduler.running() || m_scheduler.runningTime() >= time)
                loop.quit();
        });
        feed.start();
        loop.exec();
    }

private:
    Scheduler& m_scheduler;
    bool m_realtime;
    QElapsedTimer m_wallClock;
    std::chrono::nanoseconds m_fed{0};  // wall time handed to the scheduler
};

void followScript(Run& run, Scheduler& scheduler, Pacer& pacer, RunSound& sound,
                  const std::vector<ScriptInput>& script, std::optional<double> seconds)
{
    const double until = seconds.value_or(script.empty() ? defaultSecondsAfterScript
                                                         : script.back().seconds + defaultSecondsAfterScript);
    for (const ScriptInput& input : script) {
        if (input.seconds > until || !scheduler.running())
            break;
        pacer.advanceTo(toDuration(input.seconds));
        sound.advanceTo(scheduler.runningTime());  // what sounded before the input
        applyScriptInput(run, input);
    }
    pacer.advanceTo(toDuration(until));
}

// The driver acts between the ticks until the run ends or the time is up.
void driveCarefully(Run& run, Scheduler& scheduler, Pacer& pacer, double seconds)
{
    CarefulDriver driver(run);
    while (scheduler.running() && scheduler.runningTime() < toDuration(seconds)) {
        driver.actOnce();
        pacer.advanceTo(scheduler.runningTime() + tick);
    }
}

// With a port: the live stream, listening before the run starts.
std::unique_ptr<LiveServer> openLiveStream(const LiveStreamSettings& settings, std::ostream& err)
{
    if (!settings.port)
        return nullptr;
    auto server = std::make_unique<LiveServer>();
    const QString address = QString::fromStdString(settings.listenAddress);
    if (!server->listen(address, static_cast<quint16>(*settings.port)))
        throw LiveStreamError("the live stream cannot listen on " + settings.listenAddress + " port "
                              + std::to_string(*settings.port) + ": " + server->errorString().toStdString());
    err << "cabdrive-run: live stream on " << server->url().toString().toStdString() << "\n";
    return server;
}

// The end message, then a little while for the clients to be sent what they are owed.
void closeLiveStream(LiveServer& server)
{
    server.detach();
    QElapsedTimer waited;
    waited.start();
    const auto owed = [&server] {
        const auto backlogs = server.backlogs();
        return std::any_of(backlogs.begin(), backlogs.end(), [](const auto& b) { return b.queued > 0 || b.unsent > 0; });
    };
    while (owed() && waited.elapsed() < liveFlushMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

}  // namespace

int runHeadless(const HeadlessRunOptions& options, PictureLoader& pictures, VideoReader& video, KeyValueStore& store,
                std::ostream& out, std::ostream& err)
{
    try {
        const std::vector<ScriptInput> script = loadScript(options.scriptFile);
        const DataFolder folder = locateDataFolder(options.dataFolder, options.vehicleFile);
        RunSound sound(options.wavFile);
        // Clients may connect while the run loads; its run message follows.
        const std::unique_ptr<LiveServer> live = openLiveStream(options.live, err);
        HeadlessShell shell;
        if (live)
            shell.messageShown = [server = live.get()](const std::string& text) { server->messageShown(text); };
        RunSetup setup;
        setup.routeFileName = options.upLine ? "line_up.dat" : "line_down.dat";
        const auto loaded = loadRun(folder, setup, {pictures, sound.channels(), video, shell, store});
        Run& run = *loaded->run;

        std::unique_ptr<RunTrace> trace;
        if (!options.traceFile.empty())
            trace = std::make_unique<RunTrace>(options.traceFile);
        Scheduler scheduler(run);
        Pacer pacer(scheduler, options.realtime);
        if (live)
            live->attach(run);
        Journey journey;
        JourneyLog log;
        scheduler.beforeTick = [&] { sound.advanceTo(scheduler.simulatedTime()); };
        scheduler.afterTick = [&] {
            journey.afterTick(run.state.dynamics.trainSpeed);
            log.afterTick(run, shell, scheduler.simulatedTime());
            if (trace)
                trace->write(run, scheduler.simulatedTime());
            if (live)
                live->afterTick();
            if (shell.returnRequested)
                scheduler.pause();  // the end of the run: the program would fade back to the title
        };
        scheduler.start();
        if (options.drive)
            driveCarefully(run, scheduler, pacer, options.seconds.value_or(longestDrive));
        else
            followScript(run, scheduler, pacer, sound, script, options.seconds);
        sound.advanceTo(scheduler.runningTime());
        if (live)
            closeLiveStream(*live);
        if (!trace) {
            printSummary(out, run, journey, static_cast<double>(scheduler.runningTime().count()) / 1e9);
            log.print(out, run, shell);
        } else {
            // No summary lists them: what the driver was told goes to standard error.
            for (const std::string& message : shell.messages)
                err << "message: " << message << "\n";
        }
        return 0;
    } catch (const LoadError& e) {
        err << e.what() << "\n";
    } catch (const ScriptError& e) {
        err << e.what() << "\n";
    } catch (const TraceError& e) {
        err << e.what() << "\n";
    } catch (const SoundRecordingError& e) {
        err << e.what() << "\n";
    } catch (const LiveStreamError& e) {
        err << "cabdrive-run: " << e.what() << "\n";
    }
    return 1;
}

}  // namespace cabdrive
