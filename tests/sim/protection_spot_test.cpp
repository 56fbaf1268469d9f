// Spot-type protection: the alarm, the acknowledgement, the reset and the
// speed-check alarm timer.
#include <gtest/gtest.h>

#include "input/driver_keys.h"
#include "protection_fixture.h"
#include "sim/spot_protection.h"

namespace {

struct SpotProtection : test::ProtectionFixture {
    SpotProtection()
    {
        addSprite("img_Lamp_Ats1", 1);
        addSprite("img_Lamp_Ats2", 1);
        state().input.runNotStarted = false;
        state().controls.brakeHandle = -2;
    }
    void tick() { cabdrive::spotProtectionAlarm(run()); }
    void ringAtStopSignal()
    {
        protection().atsCheckSpeed = 998;
        tick();
    }
    bool playing(std::size_t channel) const { return sound.isPlaying(channel); }
};

TEST_F(SpotProtection, TheBellRingsBeforeAStopSignalAndTheStopTransponderBrakes)
{
    ringAtStopSignal();
    EXPECT_TRUE(sound.isLooping(bell));
    EXPECT_TRUE(sprite("img_Lamp_Ats2").visible);
    EXPECT_FALSE(protection().protectionEmergencyBrake) << "a warning, not yet a stop";

    protection().alarm = false;
    protection().atsCheckSpeed = 0;
    state().controls.brakeHandle = -8;
    sound.finish(bell);
    tick();
    EXPECT_FALSE(protection().alarm) << "the handle at emergency: no alarm";
    state().controls.brakeHandle = -7;
    tick();
    EXPECT_TRUE(playing(bell));
    EXPECT_TRUE(protection().protectionEmergencyBrake);
    EXPECT_TRUE(state().controls.brakeChangePending);
}

TEST_F(SpotProtection, AcknowledgingWithTheBrakeAppliedSilencesTheBellAndSoundsTheChime)
{
    state().controls.brakeHandle = 0;
    ringAtStopSignal();
    cabdrive::AsciiDown(run(), ' ');
    EXPECT_TRUE(protection().alarm) << "the brake is not applied";

    state().controls.brakeHandle = -2;
    cabdrive::AsciiDown(run(), ' ');
    EXPECT_FALSE(protection().alarm);
    EXPECT_TRUE(protection().acknowledgedAtSignal);
    ringAtStopSignal();
    EXPECT_FALSE(protection().alarm) << "no second alarm before the signal is passed";
    EXPECT_FALSE(playing(bell));
    EXPECT_TRUE(playing(chime));
    EXPECT_FALSE(sound.isLooping(chime)) << "[ATS_Cnt] 1: once";
    EXPECT_TRUE(sprite("img_Lamp_Ats1").visible);

    placeAt(0, 30);
    cabdrive::AsciiDown(run(), ' ');
    EXPECT_TRUE(playing(chime)) << "before a stop signal the chime goes on while the train runs";
    placeAt(0, 0.4L);
    cabdrive::AsciiDown(run(), ' ');
    EXPECT_FALSE(playing(chime));
    EXPECT_EQ(sound.starts(ackTone), 1);
}

TEST_F(SpotProtection, TheAcknowledgementIsRefusedInNotchOneOfAnAutomaticBrake)
{
    vehicle.brakeType = 0;
    vehicle.brakeNotches = 4;
    state().controls.brakeHandle = -1;
    ringAtStopSignal();
    EXPECT_EQ(cabdrive::acknowledgeProtection(run()), cabdrive::Acknowledgement::Refused);
    cabdrive::AsciiDown(run(), ' ');
    EXPECT_TRUE(protection().alarm);
    state().controls.brakeHandle = -2;
    EXPECT_EQ(cabdrive::acknowledgeProtection(run()), cabdrive::Acknowledgement::Taken);
    EXPECT_FALSE(protection().alarm);
}

TEST_F(SpotProtection, ResetOnlyAtAStandWithTheHandleAtEmergency)
{
    protection().atsCheckSpeed = 0;
    state().controls.brakeHandle = -7;
    tick();
    protection().protectionServiceBrake = true;
    state().controls.brakeHandle = -8;
    placeAt(0, 0.1L);
    cabdrive::AsciiDown(run(), 'r');
    EXPECT_TRUE(protection().protectionEmergencyBrake) << "not at a stand";
    placeAt(0, 0.05L);
    state().controls.brakeHandle = -7;
    cabdrive::AsciiDown(run(), 'r');
    EXPECT_TRUE(protection().protectionEmergencyBrake) << "the handle is not at emergency";
    state().controls.brakeHandle = -8;
    cabdrive::AsciiDown(run(), 'r');
    EXPECT_FALSE(protection().protectionEmergencyBrake);
    EXPECT_FALSE(protection().protectionServiceBrake);
    EXPECT_TRUE(protection().acknowledged) << "the chime follows the reset";
    EXPECT_FALSE(playing(bell));
}

TEST_F(SpotProtection, ASpeedCheckAlarmBrakesOnTheNextTickUnderThePatternAndCabTypes)
{
    vehicle.atsType = 1;
    state().controls.appliedPowerNotch = 3;
    cabdrive::startSpeedCheckAlarm(run());
    tick();
    EXPECT_TRUE(protection().protectionEmergencyBrake);
    EXPECT_EQ(state().controls.appliedPowerNotch, 0);
    EXPECT_FALSE(playing(bell)) << "no bell outside the spot type";
}

}  // namespace
