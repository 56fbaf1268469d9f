// The live stream's WebSocket server: every client gets the hello message,
// then the run's messages; what a client sends acts on the run. A slow or
// stuck client never holds the run up: each has a queue of its own that
// loses its oldest messages first.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <vector>

#include <QObject>
#include <QString>
#include <QUrl>
#include <QWebSocketServer>

#include "run/live_stream.h"

class QWebSocket;
class QWebSocketCorsAuthenticator;

namespace cabdrive {

struct Run;

class LiveServer : public QObject {
    Q_OBJECT
public:
    static constexpr std::size_t queueCapacity = 50;     // messages: 5 s of ticks
    static constexpr qint64 socketBacklog = 16 * 1024;   // bytes handed to a client's socket, not yet sent
    static constexpr std::size_t clientLimit = 16;
    static constexpr qint64 inputLimit = 4096;           // bytes of one message from a client

    explicit LiveServer(QObject* parent = nullptr);
    ~LiveServer() override;

    // Listens on the address (an IPv4 or IPv6 address, "localhost" or
    // "any") and port (0: one the system chooses). False, with errorString(),
    // when it cannot. On a loopback address only pages of this machine (and
    // clients that are no web page) may connect; on any other the user has
    // opened the stream to a network on purpose, and every origin may.
    bool listen(const QString& address, quint16 port);
    QString errorString() const { return m_error; }
    QUrl url() const;

    // A run starts: its run message goes to every client, and the clients'
    // inputs act on it until detach() sends the end message.
    void attach(Run& run);
    void detach();
    // After every tick of the attached run.
    void afterTick();
    // The program shows the driver a message; the ticks carry it from the
    // next one on, until the run ends.
    void messageShown(const std::string& text);

    // What each client has not yet been sent: messages in its queue, bytes in
    // its socket, and the messages it has lost.
    struct Backlog {
        std::size_t queued = 0;
        qint64 unsent = 0;
        std::size_t dropped = 0;
    };
    std::vector<Backlog> backlogs() const;

Q_SIGNALS:
    // A client's message acted on the run.
    void inputApplied();

private:
    struct Client;

    void accept();
    void judgeOrigin(QWebSocketCorsAuthenticator* origin) const;
    void broadcast(const std::string& message);
    void enqueue(Client& client, const QString& message);
    void pump(Client& client);
    void receive(Client& client, const QString& text);
    void forget(QWebSocket* socket);

    QWebSocketServer m_server;
    std::vector<std::unique_ptr<Client>> m_clients;
    Run* m_run = nullptr;
    ShownMessage m_shown;
    QString m_error;
    bool m_loopbackOnly = true;
};

}  // namespace cabdrive
