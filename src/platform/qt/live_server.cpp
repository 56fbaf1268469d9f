// The live stream's WebSocket server on Qt WebSockets.
#include "platform/qt/live_server.h"

#include <algorithm>
#include <optional>

#include <QHostAddress>
#include <QWebSocket>
#include <QWebSocketCorsAuthenticator>

namespace cabdrive {
namespace {

QString qtext(const std::string& text)
{
    return QString::fromStdString(text);
}

std::optional<QHostAddress> hostAddress(const QString& address)
{
    if (address == QLatin1String("localhost"))
        return QHostAddress(QHostAddress::LocalHost);
    if (address == QLatin1String("any"))
        return QHostAddress(QHostAddress::Any);
    QHostAddress parsed;
    if (!parsed.setAddress(address))
        return std::nullopt;
    return parsed;
}

// A browser names the page that opens a connection in its Origin header; any
// web page the user has open could otherwise read and drive the run. No
// header: no browser. "null" and file:// are pages opened from this
// machine's files.
bool originOnThisMachine(const QString& origin)
{
    if (origin.isEmpty() || origin == QLatin1String("null"))
        return true;
    const QUrl url(origin);
    if (url.scheme() == QLatin1String("file"))
        return true;
    if (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))
        return false;
    const QString host = url.host();
    return host == QLatin1String("localhost") || host == QLatin1String("127.0.0.1") || host == QLatin1String("::1");
}

}  // namespace

struct LiveServer::Client {
    QWebSocket* socket;  // deleted later, once its signals are done
    std::deque<QString> queue;
    std::size_t dropped = 0;
};

LiveServer::LiveServer(QObject* parent)
    : QObject(parent), m_server(QStringLiteral("cabdrive"), QWebSocketServer::NonSecureMode)
{
    connect(&m_server, &QWebSocketServer::newConnection, this, &LiveServer::accept);
    connect(&m_server, &QWebSocketServer::originAuthenticationRequired, this, &LiveServer::judgeOrigin);
}

LiveServer::~LiveServer()
{
    for (const auto& client : m_clients) {
        client->socket->disconnect(this);
        client->socket->abort();
        client->socket->deleteLater();
    }
}

bool LiveServer::listen(const QString& address, quint16 port)
{
    const auto host = hostAddress(address);
    if (!host) {
        m_error = QStringLiteral("\"%1\" is not an address to listen on").arg(address);
        return false;
    }
    if (!m_server.listen(*host, port)) {
        m_error = m_server.errorString();
        return false;
    }
    m_loopbackOnly = host->isLoopback();
    return true;
}

// A refused handshake is answered with HTTP status 403 and never becomes a client.
void LiveServer::judgeOrigin(QWebSocketCorsAuthenticator* origin) const
{
    origin->setAllowed(!m_loopbackOnly || originOnThisMachine(origin->origin()));
}

QUrl LiveServer::url() const
{
    return m_server.serverUrl();
}

void LiveServer::accept()
{
    while (QWebSocket* socket = m_server.nextPendingConnection()) {
        if (m_clients.size() >= clientLimit) {
            socket->close(QWebSocketProtocol::CloseCodePolicyViolated, QStringLiteral("too many clients"));
            socket->deleteLater();
            continue;
        }
        socket->setMaxAllowedIncomingMessageSize(inputLimit);
        socket->setMaxAllowedIncomingFrameSize(inputLimit);
        m_clients.push_back(std::make_unique<Client>(Client{socket, {}, 0}));
        Client& client = *m_clients.back();
        connect(socket, &QWebSocket::bytesWritten, this, [this, &client] { pump(client); });
        connect(socket, &QWebSocket::textMessageReceived, this,
                [this, &client](const QString& text) { receive(client, text); });
        connect(socket, &QWebSocket::binaryMessageReceived, this, [this, &client] {
            enqueue(client, qtext(liveErrorMessage("", "inputs are text messages")));
        });
        connect(socket, &QWebSocket::disconnected, this, [this, socket] { forget(socket); });
        enqueue(client, qtext(liveHelloMessage()));
        if (m_run)
            enqueue(client, qtext(liveRunMessage(*m_run)));
    }
}

void LiveServer::forget(QWebSocket* socket)
{
    const auto gone = std::find_if(m_clients.begin(), m_clients.end(),
                                   [socket](const auto& client) { return client->socket == socket; });
    if (gone == m_clients.end())
        return;
    socket->disconnect(this);
    socket->deleteLater();
    m_clients.erase(gone);
}

void LiveServer::attach(Run& run)
{
    m_run = &run;
    broadcast(liveRunMessage(run));
}

void LiveServer::detach()
{
    if (!m_run)
        return;
    m_run = nullptr;
    m_shown.text.clear();
    broadcast(liveEndMessage());
}

void LiveServer::afterTick()
{
    if (m_run)
        broadcast(liveTickMessage(*m_run, m_shown));
}

// Between runs too: a message the next run's loading shows belongs to it.
void LiveServer::messageShown(const std::string& text)
{
    m_shown.text = text;
    ++m_shown.count;
}

// One conversion for every client: the queues share the text.
void LiveServer::broadcast(const std::string& message)
{
    if (m_clients.empty())
        return;
    const QString shared = qtext(message);
    for (const auto& client : m_clients)
        enqueue(*client, shared);
}

void LiveServer::enqueue(Client& client, const QString& message)
{
    if (client.queue.size() == queueCapacity) {
        client.queue.pop_front();
        ++client.dropped;
    }
    client.queue.push_back(message);
    pump(client);
}

// The socket takes messages only while little of what it already has is
// unsent; the rest waits in the queue until it has written some.
void LiveServer::pump(Client& client)
{
    while (!client.queue.empty() && client.socket->bytesToWrite() < socketBacklog) {
        client.socket->sendTextMessage(client.queue.front());
        client.queue.pop_front();
    }
}

void LiveServer::receive(Client& client, const QString& text)
{
    if (!m_run) {
        enqueue(client, qtext(liveErrorMessage(text.toStdString(), "no run is going")));
        return;
    }
    for (const std::string& error : applyLiveInputs(*m_run, text.toStdString()))
        enqueue(client, qtext(error));
    Q_EMIT inputApplied();
}

std::vector<LiveServer::Backlog> LiveServer::backlogs() const
{
    std::vector<Backlog> out;
    for (const auto& client : m_clients)
        out.push_back({client->queue.size(), client->socket->bytesToWrite(), client->dropped});
    return out;
}

}  // namespace cabdrive
