// The values the live stream's tick message leaves out, the lamps it names,
// and the driver's last message beside the information line.
#include <gtest/gtest.h>

#include "input/input_fixture.h"
#include "run/live_stream.h"

namespace {

using cabdrive::liveTickMessage;

struct LiveStream : ::testing::Test, test::StartedInputFixture {
    bool says(const std::string& part) { return liveTickMessage(run(), shown).find(part) != std::string::npos; }
    cabdrive::ShownMessage shown;
};

TEST_F(LiveStream, TheTickMessageSaysNullForWhatIsNotThereAndNamesTheLitLamps)
{
    addStrip("img_Lamp_Door", 1);
    addStrip("img_other0", 1);
    scene.setVisible("img_Lamp_EB", false);
    state().stations.nextStopStation = -1;
    state().protection.atsCheckSpeed = cabdrive::ProtectionState::alarmAtStopSignal;
    EXPECT_TRUE(says(R"("lamps":["Door"])")) << liveTickMessage(run(), shown);
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

TEST_F(LiveStream, TheMessageShownToTheDriverGoesBesideTheInformationLine)
{
    state().presentation.informationText = "停車駅に注意";
    state().presentation.messageText = "停車駅に注意";
    EXPECT_TRUE(says(R"("information":"停車駅に注意","message":"","message_count":0)")) << liveTickMessage(run(), shown);
    shown = {"運転状態を保存しました", 2};
    EXPECT_TRUE(says(R"("information":"停車駅に注意","message":"運転状態を保存しました","message_count":2)"));
}

}  // namespace
