// The scheduler of the physics steps and ticks.
#include "run/scheduler.h"

#include "run/physics_step.h"
#include "run/tick.h"
#include "state/run.h"

namespace cabdrive {
namespace {

constexpr std::int64_t stepsPerSecond = 30;
constexpr std::int64_t stepsPerTick = 3;

// Step k is due at k/30 s, counted in whole nanoseconds so that replays agree.
std::chrono::nanoseconds stepTime(std::int64_t step)
{
    return std::chrono::nanoseconds(step * 1'000'000'000 / stepsPerSecond);
}

}  // namespace

void Scheduler::start()
{
    m_running = true;
    m_run.state.input.runNotStarted = false;
}

void Scheduler::pause()
{
    m_running = false;
}

Scheduler::Duration Scheduler::simulatedTime() const
{
    return stepTime(m_steps);
}

void Scheduler::advanceBy(Duration elapsed)
{
    if (!m_running)
        return;
    m_time += elapsed;
    while (m_running && stepTime(m_steps + 1) <= m_time) {
        ++m_steps;
        MMTimer1Timer(m_run);
        if (m_steps % stepsPerTick == 0) {
            if (beforeTick)
                beforeTick();
            Timer1Timer(m_run);
            if (afterTick)
                afterTick();
        }
    }
    if (!m_running)
        m_time = stepTime(m_steps);  // paused by an observer: the rest is not run
}

}  // namespace cabdrive
