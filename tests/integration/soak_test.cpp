// The soak test: ten simulated hours of random but plausible driving on the
// demo line for each train, every key of the key table, the wheel, station
// jumps, pauses, saved states and reversing included, with the run's state
// checked after every tick. Serial lines (the controller map's codes, and
// garbage) and game-controller polls of every kind come in among the keys.
// Virtual time: the ten hours take seconds.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <random>
#include <unistd.h>

#include "data/route_distances.h"
#include "input/driver_keys.h"
#include "input/game_controllers.h"
#include "input/serial_controller.h"
#include "platform/ffmpeg/ffmpeg_video_reader.h"
#include "run/saved_states.h"
#include "sim/station_jump.h"
#include "support/built_run.h"

namespace {

using namespace std::chrono_literals;
using cabdrive::Key;

constexpr auto soakLength = 10h;

// Every character of the key table.
constexpr std::string_view characters = "zaq,./82503 64sxwfbnd7rc1-9t";

// The keys, with and without Shift; the debug jumps that set the speed, the
// frame and the clock by hand (Shift with F1, F3, F5 to F12) are left out:
// they put the train where the checks below say it must never be.
// What a serial master controller sends: the demo map's codes, a half
// message, and line noise.
constexpr std::array<std::string_view, 8> serialChunks = {"P3###\r", "N####\r", "B2###\r", "EB###\rF####\r",
                                                         "B8###",   "\r",      "HORN#\r", "\x01\xff\xfe\r\x80"};

constexpr std::array<Key, 9> keys = {Key::Backspace, Key::ScrollLock, Key::Up, Key::Down, Key::Enter,
                                     Key::F1,        Key::F2,         Key::PageUp, Key::PageDown};

long residentKilobytes()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

bool finite(long double v)
{
    return std::isfinite(v);
}

// What must hold after every tick, whatever the driver did.
class RunInvariants {
public:
    explicit RunInvariants(const test::BuiltRun& b) : m_run(b.run), m_vehicle(b.vehicle), m_route(*b.route)
    {
        const cabdrive::VehicleSpec& v = m_vehicle;
        m_highestPressure = std::max({v.maxPress, v.ebPress, v.sapPress, v.highAirPress, 490});
        // Downhill a coasting train may run a little beyond its top speed.
        m_fastest = v.maxSpeed * 1.2L + 20;
    }

    // An empty text when all is well; else what went wrong.
    std::string broken() const
    {
        const cabdrive::RunState& s = m_run.state;
        const cabdrive::DynamicsState& d = s.dynamics;
        for (const long double v : {d.trainSpeed, d.trainPosition, d.distanceToStop, d.nextStopPosition,
                                    s.air.bpPressure, s.air.feedPressure, s.air.electricBrakeCurrent,
                                    s.air.mrNeedleDip, s.engine.engineSpeed, s.engine.engineSpeedTarget,
                                    d.tractionForce.value(), d.resistanceForce.value(), d.brakeForce.value()})
            if (!finite(v))
                return "a value is not finite";
        for (const long double p : {s.air.bcMotorCar.value(), s.air.bcTrailerCar.value(), s.air.erPressure.value(),
                                    s.air.mrPressure.value(), s.air.sapPressure.value(), s.air.bpPressure})
            if (p < 0 || p > m_highestPressure + 1)
                return "a pressure of " + std::to_string(static_cast<double>(p)) + " kPa";
        if (std::fabs(d.trainSpeed) > m_fastest)
            return "a speed of " + std::to_string(static_cast<double>(d.trainSpeed)) + " km/h";
        const std::int32_t frame = s.video.currentFrame;
        // The tick stops a train that runs past either end of the video; the
        // three physics steps before it may carry it on by a few frames, by
        // dozens where the filming speed is 1 km/h. A switch-back at the end
        // puts it two frames beyond.
        if (frame < 0 || frame > s.video.highestFrame + 100)
            return "frame " + std::to_string(frame);
        return positionBroken(frame, d.trainPosition);
    }

private:
    // The position is put back on a [SpeedUnit] row's boundary whenever the
    // frame crosses one; in between it may drift from the frame's own
    // distance only by what rounding the speed to whole km/h for the frame
    // advance makes of a stretch.
    std::string positionBroken(std::int32_t frame, long double position) const
    {
        const auto row = cabdrive::speedUnitRowByScan(m_route.speedUnits, frame);
        if (!row)
            return "";
        const cabdrive::SpeedUnit& unit = m_route.speedUnits[*row];
        const long double start = *row == 0 ? 0 : m_route.speedUnits[*row - 1].endDistance;
        constexpr long double slack = 5000;  // cm
        if (position < start - slack || position > unit.endDistance + slack)
            return "position " + std::to_string(static_cast<double>(position)) + " cm at frame " + std::to_string(frame) +
                   ", whose row runs from " + std::to_string(static_cast<double>(start)) + " to " +
                   std::to_string(unit.endDistance) + " cm";
        return "";
    }

    const cabdrive::Run& m_run;
    const cabdrive::VehicleSpec& m_vehicle;
    const cabdrive::RouteData& m_route;
    long double m_highestPressure = 0;
    long double m_fastest = 0;
};

// A driver who mostly drives, forwards or backwards, and now and then
// presses anything at all.
class RandomDriver {
public:
    explicit RandomDriver(test::BuiltRun& b) : m_b(b) {}

    // One input; returns how long to wait before the next.
    std::chrono::milliseconds actOnce()
    {
        cabdrive::Run& run = m_b.run;
        // A horn held for ever would empty an idling diesel's main reservoir,
        // and its brakes would never release: the horn is let go again.
        run.state.input.hornKeyHeld = false;
        if (pick(4) == 0)
            pressAnything();
        else if (m_phase == Phase::Leave)
            leave();
        else if (m_phase == Phase::Power)
            power();
        else if (std::fabs(run.state.dynamics.trainSpeed) > 0.1L)
            cabdrive::AsciiDown(run, '2');  // braking, one notch at a time
        else
            m_phase = Phase::Leave;
        return std::chrono::milliseconds(100 * (1 + pick(50)));
    }

private:
    enum class Phase { Leave, Power, Brake };

    std::size_t pick(std::size_t n) { return static_cast<std::size_t>(m_random() % n); }

    // Standing: a direction (backwards one time in three), the brake off.
    void leave()
    {
        cabdrive::Run& run = m_b.run;
        // A protection brake is reset at emergency, standing.
        cabdrive::AsciiDown(run, '0');
        cabdrive::AsciiDown(run, 'r');
        cabdrive::AsciiDown(run, pick(3) == 0 ? 'b' : 'f');
        cabdrive::AsciiDown(run, '5');
        m_phase = Phase::Power;
        m_notches = 1 + pick(5);
    }

    void power()
    {
        if (m_notches > 0) {
            --m_notches;
            cabdrive::AsciiDown(m_b.run, '8');
        } else if (pick(8) == 0) {
            m_phase = Phase::Brake;
        }
    }

    void pressAnything()
    {
        cabdrive::Run& run = m_b.run;
        switch (pick(11)) {
        case 0:
            keydowns(run, keys[pick(keys.size())], {.shift = pick(2) == 0});
            break;
        case 1:
            keyups(run, Key::F2);
            break;
        case 2:
            pick(2) == 0 ? cabdrive::WheelD(run) : cabdrive::WheelU(run);
            break;
        case 3:
            if (pick(20) == 0)
                cabdrive::StationClick(run, static_cast<std::int32_t>(pick(m_b.route->stations.size())));
            break;
        case 4:
            run.state.input.hornKeyHeld = pick(2) == 0;
            run.state.input.buzzerKeyHeld = pick(4) == 0;
            break;
        case 5:
            if (pick(10) == 0) {
                // A pause: time passes on the shell's clock, not the run's.
                m_b.scheduler.pause();
                m_b.scheduler.advanceBy(std::chrono::seconds(1 + pick(60)));
                m_b.scheduler.start();
            }
            break;
        case 6:
            if (pick(10) == 0) {
                // The Save menu, which stops the clocks while it works.
                m_b.scheduler.pause();
                const int slot = 1 + static_cast<int>(pick(3));
                (void)(pick(2) == 0 ? cabdrive::saveDrivingState(run, slot) : cabdrive::restoreDrivingState(run, slot));
                m_b.scheduler.start();
            }
            break;
        case 7:
            cabdrive::RxChar(run, serialChunks[pick(serialChunks.size())]);
            break;
        case 8:
            pollGameController();
            break;
        default:
            cabdrive::AsciiDown(run, characters[pick(characters.size())]);
            break;
        }
    }

    // A poll of a game controller of any kind, in the raw ranges; back to
    // the keyboard one time in two.
    void pollGameController()
    {
        cabdrive::Run& run = m_b.run;
        cabdrive::chooseControllerKind(run, 1 + static_cast<std::int32_t>(pick(3)));
        const auto axis = [this] { return static_cast<std::int32_t>(pick(65536)) - 32768; };
        cabdrive::USBScan(run, {.x = axis(), .y = axis(), .buttons = static_cast<std::uint16_t>(pick(65536))});
        if (pick(2) == 0)
            cabdrive::chooseControllerKind(run, 0);
    }

    test::BuiltRun& m_b;
    std::mt19937 m_random{2024};
    Phase m_phase = Phase::Leave;
    std::size_t m_notches = 0;
};

struct Soak : ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(Soak, TenHoursOfRandomDrivingKeepTheRunSound)
{
    const auto [vehicle, line] = GetParam();
    cabdrive::FfmpegVideoReader video;
    test::BuiltRun b(CABDRIVE_DEMO_FOLDER, {vehicle, line, &video});
    ASSERT_GT(b.run.state.video.highestFrame, 0) << "the demo video opens";
    const RunInvariants invariants(b);
    std::string fault;
    b.scheduler.afterTick = [&] {
        if (fault.empty())
            fault = invariants.broken();
    };
    RandomDriver driver(b);
    long kilobytesAfterAnHour = 0;
    std::int64_t framesReversed = 0;
    while (b.scheduler.runningTime() < soakLength && fault.empty()) {
        const auto wait = driver.actOnce();
        const std::int32_t before = b.run.state.video.currentFrame;
        b.scheduler.advanceBy(wait);
        if (b.run.state.dynamics.trainSpeed < 0)
            framesReversed += std::max(0, before - b.run.state.video.currentFrame);
        if (kilobytesAfterAnHour == 0 && b.scheduler.runningTime() >= 1h)
            kilobytesAfterAnHour = residentKilobytes();
    }
    EXPECT_EQ(fault, "") << "at " << std::chrono::duration<double>(b.scheduler.runningTime()).count() << " s";
    EXPECT_GT(framesReversed, 100) << "the train reversed";
    EXPECT_LT(residentKilobytes() - kilobytesAfterAnHour, 4096) << "memory stays flat";
}

INSTANTIATE_TEST_SUITE_P(EachTrain, Soak,
                         ::testing::Values(std::pair{"", "line_down.dat"},
                                           std::pair{"diesel/kiha_W100_1B.dat", "line_up.dat"},
                                           std::pair{"ecs/train_W3000_4B.dat", "line_down.dat"}),
                         [](const auto& info) { return std::string(info.index == 0 ? "E231" : info.index == 1 ? "Kiha" : "W3000"); });

}  // namespace
