// cabdrive-run: a whole run without a window.
#include "headless_run.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>

#include "careful_driver.h"
#include "common/clock_text.h"
#include "common/load_error.h"
#include "data/data_folder.h"
#include "journey_log.h"
#include "platform/openal/openal_sound_device.h"
#include "platform/openal/silent_sound_device.h"
#include "platform/openal/sound_recording.h"
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

std::chrono::nanoseconds toDuration(double seconds)
{
    return std::chrono::nanoseconds(static_cast<std::int64_t>(std::llround(seconds * 1e9)));
}

std::vector<ScriptInput> loadScript(const std::string& file)
{
    if (file.empty())
        return {};
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

void followScript(Run& run, Scheduler& scheduler, RunSound& sound, const std::vector<ScriptInput>& script,
                  std::optional<double> seconds)
{
    const double until = seconds.value_or(script.empty() ? defaultSecondsAfterScript
                                                         : script.back().seconds + defaultSecondsAfterScript);
    for (const ScriptInput& input : script) {
        if (input.seconds > until || !scheduler.running())
            break;
        scheduler.advanceBy(toDuration(input.seconds) - scheduler.runningTime());
        sound.advanceTo(scheduler.runningTime());  // what sounded before the input
        applyScriptInput(run, input);
    }
    scheduler.advanceBy(toDuration(until) - scheduler.runningTime());
}

// The driver acts between the ticks until the run ends or the time is up.
void driveCarefully(Run& run, Scheduler& scheduler, double seconds)
{
    CarefulDriver driver(run);
    while (scheduler.running() && scheduler.runningTime() < toDuration(seconds)) {
        driver.actOnce();
        scheduler.advanceBy(tick);
    }
}

}  // namespace

int runHeadless(const HeadlessRunOptions& options, PictureLoader& pictures, VideoReader& video, KeyValueStore& store,
                std::ostream& out, std::ostream& err)
{
    try {
        const std::vector<ScriptInput> script = loadScript(options.scriptFile);
        const DataFolder folder = locateDataFolder(options.dataFolder, options.vehicleFile);
        RunSound sound(options.wavFile);
        HeadlessShell shell;
        RunSetup setup;
        setup.routeFileName = options.upLine ? "line_up.dat" : "line_down.dat";
        const auto loaded = loadRun(folder, setup, {pictures, sound.channels(), video, shell, store});
        Run& run = *loaded->run;

        std::unique_ptr<RunTrace> trace;
        if (!options.traceFile.empty())
            trace = std::make_unique<RunTrace>(options.traceFile);
        Scheduler scheduler(run);
        Journey journey;
        JourneyLog log;
        scheduler.beforeTick = [&] { sound.advanceTo(scheduler.simulatedTime()); };
        scheduler.afterTick = [&] {
            journey.afterTick(run.state.dynamics.trainSpeed);
            log.afterTick(run, shell, scheduler.simulatedTime());
            if (trace)
                trace->write(run, scheduler.simulatedTime());
            if (shell.returnRequested)
                scheduler.pause();  // the end of the run: the program would fade back to the title
        };
        scheduler.start();
        if (options.drive)
            driveCarefully(run, scheduler, options.seconds.value_or(longestDrive));
        else
            followScript(run, scheduler, sound, script, options.seconds);
        sound.advanceTo(scheduler.runningTime());
        if (!trace) {
            printSummary(out, run, journey, static_cast<double>(scheduler.runningTime().count()) / 1e9);
            log.print(out, run, shell);
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
    }
    return 1;
}

}  // namespace cabdrive
