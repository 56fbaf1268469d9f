// The program's runs on the live stream: each run's window attaches its run,
// sends a message per tick with the last message box it showed, and ends the
// run's stream when it closes.
#include "main_window_fixture.h"
#include "platform/qt/live_server.h"
#include "shell/cab_surface.h"
#include "support/live_client.h"

namespace cabdrive::test {
namespace {

using namespace std::chrono_literals;

class MainWindowLive : public MainWindowTest {};

TEST_F(MainWindowLive, TheWindowsRunIsStreamedAndDrivenUntilItCloses)
{
    LiveServer server;
    ASSERT_TRUE(server.listen(QStringLiteral("127.0.0.1"), 0));
    aux.live = &server;
    LiveClient client(server.url());
    ASSERT_TRUE(client.waitFor(1));

    MainWindow& w = openDemo();
    ASSERT_TRUE(w.loaded());
    ASSERT_TRUE(client.waitFor(2));
    EXPECT_EQ(client.messages[1]["type"].toString(), "run");

    // Shift+Up from a client moves the cab view as the key does.
    client.socket.sendTextMessage(QStringLiteral("Shift+Up"));
    ASSERT_TRUE(runEventsUntil([&] { return w.cabSurface()->y() == -50; }));
    w.scheduler()->advanceBy(1s);
    ASSERT_TRUE(client.waitFor(12));
    EXPECT_EQ(client.ofType("tick").back()["tick"].toInt(), run().state.time.tickCount);

    run().shell.showMessage("運転状態を保存しました");
    w.scheduler()->advanceBy(100ms);
    ASSERT_TRUE(client.waitFor(13));
    const QJsonObject tick = client.ofType("tick").back();
    EXPECT_EQ(tick["message"].toString(), "運転状態を保存しました");
    EXPECT_EQ(tick["message_count"].toInt(), static_cast<int>(messages.texts.size())) << "every box the window showed";
    EXPECT_EQ(messages.texts.back(), "運転状態を保存しました");

    w.close();
    ASSERT_TRUE(runEventsUntil([&] { return client.messages.back()["type"].toString() == "end"; }));
}

}  // namespace
}  // namespace cabdrive::test
