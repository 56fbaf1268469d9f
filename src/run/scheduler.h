// Runs a run's physics steps (every 1/30 s) and ticks (every 1/10 s) in time
// order on one thread, from whatever clock feeds it: wall time in the program,
// virtual time in tests and tools.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace cabdrive {

struct Run;

class Scheduler {
public:
    using Duration = std::chrono::nanoseconds;

    explicit Scheduler(Run& run) : m_run(run) {}

    // The start command: both clocks run (again); the first start also lets
    // the character keys act.
    void start();
    // Both clocks stop; time fed while paused is not run.
    void pause();
    bool running() const { return m_running; }

    // Runs every step and tick due within `elapsed` more running time. A
    // step and a tick due at the same instant run step first.
    void advanceBy(Duration elapsed);
    Duration runningTime() const { return m_time; }  // all the running time fed so far
    Duration simulatedTime() const;                   // the time of the last step run
    std::int64_t stepCount() const { return m_steps; }

    // Called before every tick, at its time (a sound recording mixes what
    // the last tick set up to then), and after every tick (traces, test probes).
    std::function<void()> beforeTick;
    std::function<void()> afterTick;

private:
    Run& m_run;
    bool m_running = false;
    Duration m_time{0};
    std::int64_t m_steps = 0;
};

}  // namespace cabdrive
