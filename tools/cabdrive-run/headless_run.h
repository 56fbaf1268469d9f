// cabdrive-run: a whole run without a window, driven by a script or by a
// careful driver in virtual time, with a CSV trace or a short summary.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "data/live_stream_settings.h"

namespace cabdrive {

class KeyValueStore;
class PictureLoader;
class VideoReader;

struct HeadlessRunOptions {
    std::string dataFolder;
    std::string vehicleFile;         // empty: the default train
    bool upLine = false;             // line_up.dat instead of line_down.dat
    std::string scriptFile;          // empty: no inputs
    bool drive = false;              // a careful driver instead of the script
    std::optional<double> seconds;   // running time; default: the script's last input + 60 s,
                                     // or with the driver until the run ends
    std::string traceFile;           // empty: print the summary instead
    std::string wavFile;             // empty: silent; else the run's sound is written there
    bool realtime = false;           // the running time follows the wall clock
    LiveStreamSettings live;         // a port: the live stream is served there
};

// The rate of the sound --wav writes: 16-bit stereo.
inline constexpr int recordingRate = 48000;  // Hz

// Returns the exit status: 0, or 1 after printing the error to `err`. A
// real-time run or a live stream needs a Qt application to exist. The
// video reader opens the line's videos and clips; their failures are listed
// among the messages. Sounds are always read (a bad WAV file ends the run's
// loading as in the program); they are heard only in the WAV file, mixed in
// virtual time. The store holds the options and the saved driving states
// the script saves and restores.
int runHeadless(const HeadlessRunOptions& options, PictureLoader& pictures, VideoReader& video, KeyValueStore& store,
                std::ostream& out, std::ostream& err);

}  // namespace cabdrive
