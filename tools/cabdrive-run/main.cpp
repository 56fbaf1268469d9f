// cabdrive-run DATA_FOLDER [--vehicle FILE] [--line down|up] [--script FILE | --drive]
//              [--seconds N] [--trace FILE.csv] [--wav FILE.wav] [--store FILE.ini]
//              [--realtime [--live-port N [--live-listen ADDRESS]]]
#include <charconv>
#include <clocale>
#include <cmath>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QCoreApplication>

#include "common/command_line.h"
#include "headless_run.h"
#include "platform/ffmpeg/ffmpeg_video_reader.h"
#include "platform/openal/sound_recording.h"
#include "platform/qt/qimage_picture_loader.h"
#include "platform/qt/qsettings_key_value_store.h"
#include "ports/memory_key_value_store.h"
#include "run_script.h"

namespace {

constexpr const char* usage =
    "usage: cabdrive-run DATA_FOLDER [--vehicle FILE] [--line down|up] [--script FILE | --drive] [--seconds N]\n"
    "                    [--trace FILE.csv] [--wav FILE.wav] [--store FILE.ini]\n"
    "                    [--realtime [--live-port N [--live-listen ADDRESS]]]\n"
    "  Drives a run of the data folder without a window, as fast as it can.\n"
    "  --vehicle FILE   vehicle file, relative to DATA_FOLDER unless absolute (default train_E231_5B.dat)\n"
    "  --line down|up   line_down.dat (default) or line_up.dat\n"
    "  --script FILE    timed inputs, one per line: SECONDS INPUT, INPUT being a character (8, 2, 5, a, z, ...,\n"
    "                   \"space\"), a key (F2, Shift+F12, Backspace, PageUp, F2-up to let go), wheel-up/wheel-down,\n"
    "                   serial TEXT (a line of the serial master controller), joystick KIND X Y BUTTONS\n"
    "                   (one poll of game controller kind 1..3: raw axes, buttons 0..15 as a mask),\n"
    "                   save N or restore N (the driving state into or from slot 1..3 of the store)\n"
    "  --drive          a careful driver takes the train from the first station to the last, stopping\n"
    "                   at every stop and short of signals at stop\n"
    "  --seconds N      running time to simulate, at most 86400 (default: the last input + 60 s, or\n"
    "                   with --drive until the run ends)\n"
    "  --trace FILE     write a CSV line every 100 ms tick instead of the summary\n"
    "  --wav FILE       write the run's sound to a WAV file (48 kHz, 16-bit stereo) as long as the run;\n"
    "                   a WAV file holds a little over 6 hours\n"
    "  --store FILE     the per-user store (options, saved driving states) in this INI file, as the program\n"
    "                   keeps it in ~/.config/Cabdrive/kestra.ini; without it an empty store in memory\n"
    "  --realtime       run as the clock on the wall goes, not as fast as it can\n"
    "  --live-port N    serve the live stream (WebSocket, JSON) on port N (0: any free port; the address\n"
    "                   is printed on standard error); needs --realtime\n"
    "  --live-listen A  the address the live stream listens on (default 127.0.0.1, this machine only)\n"
    "  --help           this text\n"
    "  --version        the version\n";

struct CommandLine {
    cabdrive::HeadlessRunOptions options;
    std::string storeFile;  // empty: a store in memory
};

// Fills the options; on a bad command line returns what is wrong with it.
std::optional<std::string> parseArguments(int argc, char** argv, CommandLine& line)
{
    cabdrive::HeadlessRunOptions& options = line.options;
    bool listenAddressGiven = false;
    std::string secondsText;  // as given
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--drive" || arg == "--realtime") {
            (arg == "--drive" ? options.drive : options.realtime) = true;
            continue;
        }
        if (!arg.starts_with("-")) {
            if (!options.dataFolder.empty())
                return "one data folder only (\"" + std::string(arg) + "\" is a second)";
            options.dataFolder = argv[i];
            continue;
        }
        if (arg != "--vehicle" && arg != "--line" && arg != "--script" && arg != "--trace" && arg != "--seconds"
            && arg != "--wav" && arg != "--store" && !cabdrive::isLiveStreamOption(arg))
            return "unknown option " + std::string(arg);
        if (i + 1 == argc)
            return std::string(arg) + " needs a value";
        const std::string value = argv[++i];
        if (arg == "--vehicle") {
            options.vehicleFile = value;
        } else if (arg == "--line") {
            if (value != "down" && value != "up")
                return "--line is down or up, not " + value;
            options.upLine = value == "up";
        } else if (arg == "--script") {
            options.scriptFile = value;
        } else if (arg == "--trace") {
            options.traceFile = value;
        } else if (arg == "--wav") {
            if (value.empty())
                return "--wav needs a file name";
            options.wavFile = value;
        } else if (arg == "--store") {
            line.storeFile = value;
        } else if (cabdrive::isLiveStreamOption(arg)) {
            if (const auto wrong = cabdrive::setLiveStreamOption(options.live, arg, value))
                return wrong;
            listenAddressGiven = listenAddressGiven || arg == "--live-listen";
        } else {
            double seconds = 0;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
            if (error != std::errc{} || end != value.data() + value.size() || !std::isfinite(seconds) || seconds < 0)
                return "--seconds needs a number of seconds, not " + value;
            if (seconds > cabdrive::longestRunSeconds)
                return "--seconds is at most 86400 (a day), not " + value;
            options.seconds = seconds;
            secondsText = value;
        }
    }
    if (options.dataFolder.empty())
        return "which data folder?";
    if (options.drive && !options.scriptFile.empty())
        return "--drive and --script exclude each other";
    if (listenAddressGiven && !options.live.port)
        return "--live-listen needs --live-port: without a port there is no live stream to listen for";
    const std::int64_t longestWav = cabdrive::SoundRecording::longestSeconds(cabdrive::recordingRate);
    if (!options.wavFile.empty() && options.seconds && *options.seconds > static_cast<double>(longestWav))
        return "--seconds " + secondsText + " is too long for --wav: a WAV file holds at most " + std::to_string(longestWav)
             + " s of sound";
    if (options.live.port && !options.realtime)
        return "--live-port needs --realtime: a run as fast as it can go is over before a client could follow it";
    return std::nullopt;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    if (const auto answered = cabdrive::answerHelpOrVersion(arguments, "cabdrive-run", usage, std::cout))
        return *answered;
    CommandLine line;
    if (const auto wrong = parseArguments(argc, argv, line))
        return cabdrive::refuseCommandLine("cabdrive-run", *wrong, usage, std::cerr);
    // The real-time clock and the live stream's sockets run on Qt's event loop.
    std::optional<QCoreApplication> app;
    if (line.options.realtime) {
        app.emplace(argc, argv);
        // Qt takes the user's locale; the trace's numbers keep their decimal points.
        std::setlocale(LC_NUMERIC, "C");
    }
    cabdrive::QImagePictureLoader pictures;
    cabdrive::FfmpegVideoReader video;
    std::unique_ptr<cabdrive::KeyValueStore> store;
    if (line.storeFile.empty())
        store = std::make_unique<cabdrive::MemoryKeyValueStore>();
    else
        store = std::make_unique<cabdrive::QSettingsKeyValueStore>(line.storeFile);
    return cabdrive::runHeadless(line.options, pictures, video, *store, std::cout, std::cerr);
}
