// The CSV trace of a headless run: one line per tick.
#pragma once

#include <chrono>
#include <fstream>
#include <stdexcept>
#include <string>

namespace cabdrive {

struct Run;

class TraceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class RunTrace {
public:
    // Creates the file and writes the header line; throws TraceError.
    explicit RunTrace(const std::string& path);
    void write(const Run& run, std::chrono::nanoseconds runningTime);

private:
    void writeSignalsAndStations(const Run& run);

    std::ofstream m_out;
    std::string m_path;
};

}  // namespace cabdrive
