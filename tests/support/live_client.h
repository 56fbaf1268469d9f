// A live-stream client for the tests: a QWebSocket that keeps every message
// it receives, parsed.
#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <QWebSocket>

#include <vector>

#include "support/qt_application.h"

namespace cabdrive::test {

class LiveClient {
public:
    explicit LiveClient(const QUrl& url)
    {
        QObject::connect(&socket, &QWebSocket::textMessageReceived, [this](const QString& text) {
            texts.push_back(text);
            messages.push_back(QJsonDocument::fromJson(text.toUtf8()).object());
        });
        socket.open(url);
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
    std::vector<QString> texts;
    std::vector<QJsonObject> messages;
};

}  // namespace cabdrive::test
