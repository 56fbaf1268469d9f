// The live stream's WebSocket server against a headless run of the demo
// line: what clients receive, what they send, and clients that do not read.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QJsonArray>

#include <cmath>
#include <set>

#include "common/clock_text.h"
#include "platform/qt/live_server.h"
#include "sim/brake_air.h"
#include "state/run.h"
#include "support/built_run.h"
#include "support/live_client.h"

namespace cabdrive::test {
namespace {

using namespace std::chrono_literals;

// What the run held after one tick, each value under the tick message's name
// for it ("a.b": field b of object a); numbers within the message's rounding.
struct Field {
    QString path;
    QJsonValue value;
    double within = 0;
};
struct TickSnapshot {
    int tick;
    double speed;
    std::vector<Field> fields;
};

QJsonValue text(const std::string& value)
{
    return QString::fromStdString(value);
}

// The panel's lamps lit, by the names the stream documents, in drawing order.
QJsonArray litLamps(const Run& run)
{
    const std::string lamps[] = {"Door", "Power", "EB",  "Gen", "Air",       "fin",  "Ele", "Ats1",
                                 "Ats2", "Atsp1", "Atsp2", "Fwd", "Bck", "stopalert", "const"};
    QJsonArray lit;
    for (const Sprite* sprite : run.scene.spritesInDrawingOrder()) {
        for (const std::string& lamp : lamps) {
            if (sprite->visible && sprite->name == "img_Lamp_" + lamp)
                lit.append(text(lamp));
        }
    }
    return lit;
}

TickSnapshot snapshot(const Run& run)
{
    const RunState& s = run.state;
    const ControlState& c = s.controls;
    const DynamicsState& d = s.dynamics;
    const AirState& a = s.air;
    const ProtectionState& p = s.protection;
    const bool checking =
        p.atsCheckSpeed != ProtectionState::noCheck && p.atsCheckSpeed != ProtectionState::alarmAtStopSignal;
    const double speed = static_cast<double>(d.trainSpeed);
    std::vector<Field> fields = {
        {"clock", text(clockText(s.time.clockTicks))},
        {"speed", speed, 0.005},
        {"position", static_cast<double>(d.trainPosition / 100), 0.005},
        {"frame", s.video.currentFrame},
        {"power.handle", c.powerHandle},
        {"power.notch", c.appliedPowerNotch},
        {"brake.handle", c.brakeHandle},
        {"brake.notch", c.appliedBrakeNotch},
        {"brake.text", text(c.brakeText)},
        {"reverser.position", c.reverser},
        {"pressures.bc", static_cast<double>(gaugedBrakeCylinder(run)), 0.05},
        {"pressures.bp", static_cast<double>(a.bpPressure), 0.05},
        {"pressures.er", static_cast<double>(a.erPressure.value()), 0.05},
        {"pressures.mr", static_cast<double>(a.mrPressure.value()), 0.05},
        {"pressures.sap", static_cast<double>(a.sapPressure.value()), 0.05},
        {"motor_current", d.motorCurrent},
        {"line_voltage", static_cast<double>(d.lineVoltage.value()), 0.05},
        {"lamps", litLamps(run)},
        {"protection.active", p.atsActive},
        {"protection.check_speed", checking ? QJsonValue(p.atsCheckSpeed) : QJsonValue()},
        {"protection.alarm", p.alarm},
        {"protection.emergency_brake", p.protectionEmergencyBrake},
        {"protection.service_brake", p.protectionServiceBrake},
        {"next_station.name", text(s.stations.nextStopName)},
        {"next_station.distance", static_cast<double>(d.distanceToStop / 100), 0.005},
        {"doors.open", s.doors.doorsOpen},
        {"station_text", text(s.stations.nextStationText)},
    };
    // The signal the cab has in view or had last: in these 30 s always the
    // first ahead of the train, the one the stream names.
    if (const auto row = static_cast<std::size_t>(s.signals.signalAheadRow); row < run.route.signals.size()) {
        fields.push_back({"signal.aspect", s.signals.aspects[row]});
        fields.push_back({"signal.display", s.signals.displays[row]});
        const long double distance = run.route.signals[row].distance - d.trainPosition;  // cm
        fields.push_back({"signal.distance", static_cast<double>(distance / 100), 0.005});
    }
    return {s.time.tickCount, speed, std::move(fields)};
}

QJsonValue at(const QJsonObject& message, const QString& path)
{
    QJsonValue value = message;
    for (const QString& name : path.split('.'))
        value = value.toObject()[name];
    return value;
}

std::string json(const QJsonValue& value)
{
    return QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).toStdString();
}

void expectSameAsRun(const QJsonObject& m, const TickSnapshot& s)
{
    for (const auto& [path, value, within] : s.fields) {
        const QJsonValue sent = at(m, path);
        const bool same = value.isDouble() ? sent.isDouble() && std::fabs(sent.toDouble() - value.toDouble()) <= within
                                           : sent == value;
        EXPECT_TRUE(same) << "tick " << s.tick << ", " << path.toStdString() << ": sent " << json(sent)
                          << ", the run held " << json(value);
    }
}

// The fields that hold values: "a.b" for field b of object a; an array of
// objects names its objects' fields too.
void collectFields(const QJsonObject& object, const QString& prefix, std::set<QString>& fields)
{
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString name = prefix + it.key();
        if (!it->isObject())
            fields.insert(name);
        if (it->isObject())
            collectFields(it->toObject(), name + '.', fields);
        if (it->isArray() && !it->toArray().isEmpty() && it->toArray().first().isObject())
            collectFields(it->toArray().first().toObject(), name + '.', fields);
    }
}

struct LiveRun : ::testing::Test {
    LiveRun()
    {
        EXPECT_TRUE(server.listen(QStringLiteral("127.0.0.1"), 0)) << server.errorString().toStdString();
        built.scheduler.afterTick = [this] {
            ticks.push_back(snapshot(built.run));
            server.afterTick();
        };
        server.attach(built.run);
    }

    // Ticks in virtual time, the event loop turning after each as the window's would.
    void runTicks(int count)
    {
        for (int i = 0; i < count; ++i) {
            built.scheduler.advanceBy(100ms);
            QCoreApplication::processEvents();
        }
    }
    bool connected(std::size_t clients)
    {
        return runEventsUntil([&] { return server.backlogs().size() == clients; });
    }

    QApplication& app = qtApplication();
    ::test::BuiltRun built{CABDRIVE_DEMO_FOLDER};
    LiveServer server;
    std::vector<TickSnapshot> ticks;
};

TEST_F(LiveRun, ClientsGetTheHelloTheRunAndOneMessagePerTickEqualToTheRunState)
{
    LiveClient first(server.url()), second(server.url());
    ASSERT_TRUE(first.waitFor(2) && second.waitFor(2));
    const QJsonObject hello = first.messages[0];
    EXPECT_EQ(hello["type"].toString(), "hello");
    EXPECT_EQ(hello["stream"].toString(), "cabdrive-live");
    EXPECT_EQ(hello["version"].toInt(), 1);
    EXPECT_EQ(first.messages[1]["type"].toString(), "run");
    EXPECT_EQ(first.messages[1]["line"].toString().toStdString(), built.route->lineName);
    EXPECT_EQ(first.messages[1]["stations"].toArray().size(), static_cast<qsizetype>(built.route->stations.size()));

    // Release the brake and take two power notches from the first client.
    first.socket.sendTextMessage(QStringLiteral("5\nz\r\nz"));
    ASSERT_TRUE(runEventsUntil([&] { return built.run.state.controls.powerHandle == 2; }));
    runTicks(300);
    ASSERT_TRUE(first.waitFor(2 + ticks.size()) && second.waitFor(2 + ticks.size()));

    const auto received = first.ofType("tick");
    ASSERT_EQ(received.size(), ticks.size());
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        ASSERT_EQ(received[i]["tick"].toInt(), ticks[i].tick);
        expectSameAsRun(received[i], ticks[i]);
    }
    EXPECT_GT(ticks.back().speed, 10) << "the client's notches drove the train";
    EXPECT_EQ(second.texts, first.texts) << "every client gets the same stream";

    // Every field of the run and tick messages has its unit in the hello message.
    std::set<QString> fields;
    collectFields(first.messages[1], {}, fields);
    collectFields(received.back(), {}, fields);
    for (const QString& field : fields)
        EXPECT_TRUE(hello["units"].toObject().contains(field)) << field.toStdString();
}

TEST_F(LiveRun, ABadInputIsAnsweredToItsSenderAloneAndTheEndClosesTheRun)
{
    LiveClient sender(server.url()), other(server.url());
    ASSERT_TRUE(sender.waitFor(2) && other.waitFor(2));
    sender.socket.sendTextMessage(QStringLiteral("# a note\n\nF13\njoystick 4 0 0 0\nrestore 1\n5\nz"));
    ASSERT_TRUE(sender.waitFor(5));
    const auto errors = sender.ofType("error");
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[0]["input"].toString(), "F13");
    EXPECT_EQ(errors[1]["error"].toString(), "\"4\" is not a game controller kind (1 .. 3)");
    EXPECT_EQ(errors[2]["error"].toString(), "driving states are saved and restored from the Save menu");
    EXPECT_EQ(built.run.state.controls.powerHandle, 1) << "the good line after the bad ones still acts";

    server.detach();
    ASSERT_TRUE(other.waitFor(3));
    EXPECT_TRUE(other.ofType("error").empty());
    EXPECT_EQ(other.messages.back()["type"].toString(), "end");
    sender.socket.sendTextMessage(QStringLiteral("8"));
    ASSERT_TRUE(runEventsUntil([&] { return sender.ofType("error").size() == 4; }));
    EXPECT_EQ(sender.ofType("error").back()["error"].toString(), "no run is going");
}

// Whether a client whose handshake names this Origin ("": none) is served.
bool served(const QUrl& url, const char* origin)
{
    QNetworkRequest request(url);
    if (*origin)
        request.setRawHeader("Origin", origin);
    LiveClient client(request);
    runEventsUntil([&] { return !client.messages.empty() || client.closed; });
    return !client.messages.empty();
}

TEST_F(LiveRun, OnLoopbackOnlyClientsOfThisMachineAreServedOnANetworkEveryOrigin)
{
    LiveServer network;
    ASSERT_TRUE(network.listen(QStringLiteral("any"), 0));
    const QUrl networkUrl(QStringLiteral("ws://127.0.0.1:%1").arg(network.url().port()));
    const struct {
        const char* origin;
        bool ofThisMachine;
    } origins[] = {
        {"", true}, {"null", true}, {"file://", true}, {"http://localhost:8000", true}, {"https://127.0.0.1", true},
        {"http://[::1]:3000", true}, {"http://evil.example", false}, {"http://localhost.evil.example", false},
        {"https://127.0.0.1.evil.example", false}, {"ftp://localhost", false},
    };
    for (const auto& [origin, ofThisMachine] : origins) {
        EXPECT_EQ(served(server.url(), origin), ofThisMachine) << origin;
        EXPECT_TRUE(served(networkUrl, origin)) << origin;
    }
}

// A client that connects and never reads: a raw socket with a small receive
// window, so that the kernel soon stops taking bytes for it.
class StuckClient {
public:
    explicit StuckClient(quint16 port)
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        const int window = 4096;
        ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &window, sizeof window);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(::connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        const std::string handshake = "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                                      "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n\r\n";
        EXPECT_EQ(::send(m_fd, handshake.data(), handshake.size(), 0), static_cast<ssize_t>(handshake.size()));
        ::fcntl(m_fd, F_SETFL, O_NONBLOCK);
    }
    ~StuckClient() { ::close(m_fd); }

    // Reads at last, until a message holds `lastTick`; returns the ticks received.
    std::vector<int> drainUntilTick(int lastTick)
    {
        std::vector<int> received;
        runEventsUntil([&] {
            char chunk[65536];
            for (ssize_t n; (n = ::recv(m_fd, chunk, sizeof chunk, 0)) > 0;)
                m_bytes.append(chunk, static_cast<std::size_t>(n));
            for (const QJsonObject& m : takeMessages()) {
                if (m["type"].toString() == "tick")
                    received.push_back(m["tick"].toInt());
            }
            return !received.empty() && received.back() == lastTick;
        }, 20000);
        return received;
    }

private:
    // Whole text frames from the server (unmasked), after its handshake answer.
    std::vector<QJsonObject> takeMessages()
    {
        std::vector<QJsonObject> out;
        if (!m_pastHandshake) {
            const auto end = m_bytes.find("\r\n\r\n");
            if (end == std::string::npos)
                return out;
            m_bytes.erase(0, end + 4);
            m_pastHandshake = true;
        }
        while (m_bytes.size() >= 2) {
            std::size_t length = static_cast<unsigned char>(m_bytes[1]) & 0x7f, header = 2;
            if (length == 126) {
                if (m_bytes.size() < 4)
                    break;
                length = static_cast<unsigned char>(m_bytes[2]) << 8 | static_cast<unsigned char>(m_bytes[3]);
                header = 4;
            }
            if (m_bytes.size() < header + length)
                break;
            out.push_back(QJsonDocument::fromJson(QByteArray::fromStdString(m_bytes.substr(header, length))).object());
            m_bytes.erase(0, header + length);
        }
        return out;
    }

    int m_fd = -1;
    std::string m_bytes;
    bool m_pastHandshake = false;
};

TEST_F(LiveRun, AClientThatNeverReadsNeitherHoldsUpTheRunNorGrowsItsQueue)
{
    LiveClient reader(server.url());
    StuckClient stuck(server.url().port());
    ASSERT_TRUE(connected(2));
    // Until the kernel's buffers for it are full and its queue overflows.
    const auto lost = [this] {
        std::size_t dropped = 0;
        for (const LiveServer::Backlog& b : server.backlogs())
            dropped += b.dropped;
        return dropped;
    };
    int tickCount = 0;
    for (; lost() == 0 && tickCount < 30000; tickCount += 500)
        runTicks(500);
    ASSERT_GT(lost(), 0u) << "the stuck client's buffers never filled";
    runTicks(500);
    tickCount += 500;

    EXPECT_TRUE(reader.waitFor(2 + static_cast<std::size_t>(tickCount))) << "the reading client lost nothing";
    for (const LiveServer::Backlog& b : server.backlogs()) {
        EXPECT_LE(b.queued, LiveServer::queueCapacity);
        EXPECT_LT(b.unsent, LiveServer::socketBacklog + 4096);
    }

    // Once it reads, it gets the oldest messages the sockets held, then the
    // newest its queue kept: the ones lost were the oldest in the queue.
    const std::vector<int> got = stuck.drainUntilTick(tickCount);
    ASSERT_GE(got.size(), LiveServer::queueCapacity);
    EXPECT_LT(got.size(), static_cast<std::size_t>(tickCount));
    EXPECT_TRUE(std::is_sorted(got.begin(), got.end()));
    const std::vector<int> newest(got.end() - static_cast<std::ptrdiff_t>(LiveServer::queueCapacity), got.end());
    for (std::size_t i = 0; i < newest.size(); ++i)
        EXPECT_EQ(newest[i], tickCount - static_cast<int>(LiveServer::queueCapacity) + 1 + static_cast<int>(i));
}

}  // namespace
}  // namespace cabdrive::test
