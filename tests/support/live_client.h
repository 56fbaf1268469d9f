// A live-stream client for the tests: a QWebSocket that keeps every message
// it receives, parsed.
#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkRequest>
#include <QUrl>
#include <QWebSocket>

#include <vector>

#include "support/qt_application.h"

namespace cabdrive::test {

class LiveClient {
public:
    explicit LiveClient(const QUrl& url) : LiveClient(QNetworkRequest(url)) {}
    // The request's headers go into the handshake: a browser's Origin, say.
    explicit LiveClient(const QNetworkRequest& request)
    {
        QObject::connect(&socket, &QWebSocket::textMessageReceived, [this](const QString& text) {
            texts.push_back(text);
            messages.push_back(QJsonDocument::fromJson(text.toUtf8()).object());
        });
        QObject::connect(&socket, &QWebSocket::disconnected, [this] { closed = true; });
        socket.open(request);
    }

    // Waits until `count` messages have come.
    bool waitFor(std::size_t count) { return runEventsUntil([&] { return messages.size() >= count; }); }
    std::vector<QJsonObject> ofType(const char* type) const
    {
        std::vector<QJsonObject> found;
        for (const QJsonObject& m : messages) {
            if (m.value(QStringLiteral("type")).toString() == QLatin1String(type))
                found.push_back(m);
        }
        return found;
    }

    QWebSocket socket;
    bool closed = false;  // by either side, or the handshake refused
    std::vector<QString> texts;
    std::vector<QJsonObject> messages;
};

}  // namespace cabdrive::test
