// The live stream for home cockpits: the JSON messages a client receives
// (hello, run, tick, end, error) and the driver inputs it may send. The
// format is written down in docs/live-stream.md; a transport (the WebSocket
// server) only carries these texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cabdrive {

struct Run;

inline constexpr std::string_view liveStreamName = "cabdrive-live";
// Raised when a field changes its meaning or its unit; new fields keep it.
inline constexpr int liveStreamVersion = 1;

// The messages the program has shown the driver (message boxes): the last
// one, and how many so far, so that a client tells a new message from the
// same text shown again.
struct ShownMessage {
    std::string text;
    std::int64_t count = 0;
};

// First to every client: the stream's name and version, the tick period and
// the unit of every field of the other messages.
std::string liveHelloMessage();
// When a run starts, and to a client that connects during one: the line,
// the train's notch counts and the stations.
std::string liveRunMessage(const Run& run);
// After every 100 ms tick.
std::string liveTickMessage(const Run& run, const ShownMessage& message);
// The run is over; no ticks follow until the next run message.
std::string liveEndMessage();
// To the client whose input could not be acted on.
std::string liveErrorMessage(std::string_view input, std::string_view why);

// A client's message: one input per line as a cabdrive-run script line
// writes it after its time ("z", "F2", "serial P4###", ...); blank lines and
// lines starting with "#" are skipped. The inputs act on the run in order;
// the result holds an error message for every line that is no input, and for
// "save N" and "restore N", which are left to the window's Save menu.
std::vector<std::string> applyLiveInputs(Run& run, std::string_view text);

}  // namespace cabdrive
