// Cab signalling and roll-back protection.
#include <gtest/gtest.h>

#include "protection_fixture.h"
#include "sim/cab_signalling.h"
#include "sim/protection_brakes.h"

namespace {

struct CabSignalling : test::ProtectionFixture {
    CabSignalling() { vehicle.atsType = 2; }
    void checkAt(std::int32_t display, long double kmh)
    {
        signals().signalDisplay = display;
        placeAt(0, kmh);
        cabdrive::cabSignalling(run());
    }
};

TEST_F(CabSignalling, BrakesAboveTheSignalledSpeedLessFourTenthsAndReleasesBelowIt)
{
    checkAt(24, 45 - 0.4L);  // display 24: [Speed_Signal] entry 2, 45 km/h
    EXPECT_FALSE(protection().protectionServiceBrake) << "exactly 0.4 km/h below";
    checkAt(24, 44.61L);
    EXPECT_TRUE(protection().protectionServiceBrake);
    EXPECT_TRUE(state().controls.brakeChangePending);
    checkAt(24, 44.7L);
    EXPECT_TRUE(protection().protectionServiceBrake) << "the brake holds while the train is too fast";
    checkAt(24, 44);
    EXPECT_FALSE(protection().protectionServiceBrake);
    EXPECT_FALSE(protection().cabSignalBrake);
}

TEST_F(CabSignalling, TheStopDisplayBrakesInEmergencyUntilReset)
{
    checkAt(22, 1);
    EXPECT_TRUE(protection().protectionEmergencyBrake);
    checkAt(24, 0);
    EXPECT_FALSE(protection().cabSignalBrake) << "a clearer display releases";
    EXPECT_TRUE(protection().protectionEmergencyBrake) << "only the reset ends an emergency brake";
    protection().protectionEmergencyBrake = false;
    checkAt(35, 300);
    EXPECT_FALSE(protection().protectionServiceBrake) << "displays outside 22 to 29 carry no speed";
    vehicle.atsType = 0;
    checkAt(24, 100);
    EXPECT_FALSE(protection().protectionServiceBrake) << "other protection types";
}

TEST_F(CabSignalling, RollBackProtectionBrakesAboveSevenKilometresPerHourAgainstTheReverser)
{
    vehicle.backFlag = 1;
    placeAt(0, -7);
    cabdrive::rollBackProtection(run());
    EXPECT_FALSE(protection().protectionEmergencyBrake);
    placeAt(0, -7.01L);
    cabdrive::rollBackProtection(run());
    EXPECT_TRUE(protection().protectionEmergencyBrake);
    EXPECT_EQ(sound.starts(atcBell), 1);
    sound.finish(atcBell);
    cabdrive::rollBackProtection(run());
    EXPECT_EQ(sound.starts(atcBell), 1) << "the bell rings once per brake";

    protection().protectionEmergencyBrake = false;
    state().controls.reverser = -1;
    cabdrive::rollBackProtection(run());
    EXPECT_FALSE(protection().protectionEmergencyBrake) << "reversing on purpose";
    placeAt(0, 10);
    cabdrive::rollBackProtection(run());
    EXPECT_TRUE(protection().protectionEmergencyBrake);
    protection().protectionEmergencyBrake = false;
    vehicle.backFlag = 0;
    cabdrive::rollBackProtection(run());
    EXPECT_FALSE(protection().protectionEmergencyBrake) << "a vehicle without roll-back protection";
}

}  // namespace
