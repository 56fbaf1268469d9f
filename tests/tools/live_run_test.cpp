// cabdrive-run --realtime --live-port: a headless run paced by the wall
// clock serves the live stream from its start to its end, the messages the
// run shows among its ticks.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTimer>

#include <sstream>

#include "headless_run.h"
#include "platform/qt/qimage_picture_loader.h"
#include "ports/memory_key_value_store.h"
#include "ports/video_reader.h"
#include "support/live_client.h"
#include "support/temp_folder.h"

namespace cabdrive::test {
namespace {

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

TEST(RealTimeRun, AHeadlessRunPacedByTheWallClockServesTheStreamAndTakesInputs)
{
    qtApplication();
    HeadlessRunOptions options;
    options.dataFolder = CABDRIVE_DEMO_FOLDER;
    options.seconds = 3;
    options.realtime = true;
    options.live.port = freePort();
    const TempFolder folder;
    options.scriptFile = folder.write("save.txt", "1.5 save 1\n").string();  // the run shows that it saved
    // The client connects once the run's clock goes, takes the brake off,
    // and notes when each tick comes.
    std::unique_ptr<LiveClient> client;
    QElapsedTimer wall;
    std::vector<std::pair<int, qint64>> arrivals;  // tick, ms of the wall clock
    QTimer::singleShot(100, [&] {
        client = std::make_unique<LiveClient>(QUrl(QStringLiteral("ws://127.0.0.1:%1").arg(*options.live.port)));
        QObject::connect(&client->socket, &QWebSocket::connected,
                         [&] { client->socket.sendTextMessage(QStringLiteral("5")); });
        QObject::connect(&client->socket, &QWebSocket::textMessageReceived, [&] {
            if (client->messages.back()["type"].toString() == "tick")
                arrivals.emplace_back(client->messages.back()["tick"].toInt(), wall.elapsed());
        });
    });
    wall.start();
    QImagePictureLoader pictures;
    NullVideoReader video;
    MemoryKeyValueStore store;
    std::ostringstream out, err;
    ASSERT_EQ(runHeadless(options, pictures, video, store, out, err), 0) << err.str();
    EXPECT_NE(err.str().find("cabdrive-run: live stream on ws://127.0.0.1:"), std::string::npos);

    ASSERT_TRUE(client);
    ASSERT_GE(client->messages.size(), 3u);
    EXPECT_EQ(client->messages.front()["type"].toString(), "hello");
    EXPECT_EQ(client->messages[1]["type"].toString(), "run");
    EXPECT_EQ(client->messages.back()["type"].toString(), "end");
    const auto ticks = client->ofType("tick");
    ASSERT_FALSE(ticks.empty());
    EXPECT_EQ(ticks.back()["tick"].toInt(), 30) << "3 s of running time";
    EXPECT_EQ(ticks.back()["brake"].toObject()["handle"].toInt(), 0) << "the client's input reached the run";
    // The loading's message that the video cannot be opened (the reader has
    // none), then the save's.
    EXPECT_EQ(ticks.front()["message_count"].toInt(), 1) << ticks.front()["message"].toString().toStdString();
    EXPECT_EQ(ticks.back()["message"].toString(), "運転状態を保存しました");
    EXPECT_EQ(ticks.back()["message_count"].toInt(), 2);
    // 100 ms of wall clock a tick, give or take the event loop's turns.
    const auto [firstTick, firstMs] = arrivals.front();
    const auto [lastTick, lastMs] = arrivals.back();
    EXPECT_GE(lastMs - firstMs, 80 * (lastTick - firstTick)) << "ticks " << firstTick << " to " << lastTick;

    // A port that is taken ends the run before it starts, with the reason.
    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::LocalHost, 0));
    options.live.port = taken.serverPort();
    std::ostringstream err2;
    EXPECT_EQ(runHeadless(options, pictures, video, store, out, err2), 1);
    EXPECT_TRUE(err2.str().starts_with("cabdrive-run: the live stream cannot listen on 127.0.0.1 port")) << err2.str();
}

}  // namespace
}  // namespace cabdrive::test
