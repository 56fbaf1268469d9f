// The values the live stream's tick message leaves out, and the lamps it names.
#include <gtest/gtest.h>

#include "input/input_fixture.h"
#include "run/live_stream.h"

namespace {

using cabdrive::liveTickMessage;

struct LiveStream : ::testing::Test, test::StartedInputFixture {
    bool says(const std::string& part) { return liveTickMessage(run()).find(part) != std::string::npos; }
};

TEST_F(LiveStream, TheTickMessageSaysNullForWhatIsNotThereAndNamesTheLitLamps)
{
    addStrip("img_Lamp_Door", 1);
    addStrip("img_other0", 1);
    scene.setVisible("img_Lamp_EB", false);
    state().stations.nextStopStation = -1;
    state().protection.atsCheckSpeed = cabdrive::ProtectionState::alarmAtStopSignal;
    EXPECT_TRUE(says(R"("lamps":["Door"])")) << liveTickMessage(run());
    EXPECT_TRUE(says(R"("signal":null)"));
    EXPECT_TRUE(says(R"("next_station":null)"));
    EXPECT_TRUE(says(R"("check_speed":null,"stop_alarm_pending":true)"));
    EXPECT_TRUE(says(R"("pattern":null)"));

    (void)route->stations.add({.name = "港浜", .kind = 2, .departureTime = 30 * 3600});
    state().stations.nextStopStation = 0;
    state().dynamics.distanceToStop = 12345;  // cm
    state().protection.atsCheckSpeed = 0;
    EXPECT_TRUE(says(R"("next_station":{"name":"港浜","kind":2,"distance":123.45,"departure":"01:00:00"})"));
    EXPECT_TRUE(says(R"("check_speed":0,"stop_alarm_pending":false)"));
}

}  // namespace
