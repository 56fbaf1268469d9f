// A run to test against: settings with recognisable words, a vehicle and a
// route each test fills, a scene and a recording sound device.
#pragma once

#include <memory>
#include <optional>

#include "fake_joystick.h"
#include "ports/memory_key_value_store.h"
#include "fake_video_reader.h"
#include "recording_shell.h"
#include "recording_sound_device.h"
#include "state/run.h"

namespace test {

inline cabdrive::Settings testSettings()
{
    cabdrive::Settings s;
    s.physicsStepDivisor = 30;
    s.videoFrameFactor = 1;
    s.viewWidth = 800;
    s.viewHeight = 600;
    s.wordForward = "前";
    s.wordNeutral = "中";
    s.wordReverse = "後";
    s.wordBrakeReleased = "緩め";
    s.wordPowerOff = "切";
    s.wordApply = "重なり前";
    s.wordHold = "重なり";
    s.wordMaintain = "保ち";
    s.wordRemove = "込め";
    s.wordHold2 = "抑速";
    s.wordEmergency = "非常";
    s.wordConstSpeed = "定速";
    s.wordCars = "両";
    s.wordGear0 = "N";
    s.wordGear1 = "1速";
    s.wordGearStem = "変速";
    return s;
}

struct RunFixture {
    cabdrive::Settings settings = testSettings();
    cabdrive::VehicleSpec vehicle;
    std::unique_ptr<cabdrive::RouteData> route = std::make_unique<cabdrive::RouteData>();
    cabdrive::Scene scene;
    RecordingSoundDevice sound;
    FakeVideoReader video;
    RecordingShell shell;
    cabdrive::MasconMap mascon;
    FakeJoystick joystick;
    cabdrive::MemoryKeyValueStore store;

    // Made on first use, so a test fills the vehicle and route first.
    cabdrive::Run& run()
    {
        if (!m_run)
            m_run.emplace(cabdrive::Run{settings, vehicle, *route, mascon, scene, sound, video, shell, joystick, store, {}, {}, {}, nullptr});
        return *m_run;
    }
    cabdrive::RunState& state() { return run().state; }

private:
    std::optional<cabdrive::Run> m_run;
};

}  // namespace test
