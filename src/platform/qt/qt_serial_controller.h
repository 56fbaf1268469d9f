// The serial master controller's port on QSerialPort: opened with the stored
// settings, it hands on what it receives in chunks and says when the device
// goes away.
#pragma once

#include <optional>

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>

#include "data/serial_port_settings.h"

namespace cabdrive {

class QtSerialController : public QObject {
    Q_OBJECT
public:
    // Bytes handed on at once, and held at most between two reads: a device
    // that floods the line cannot grow the program's memory.
    static constexpr qint64 chunkLimit = 4096;

    explicit QtSerialController(QObject* parent = nullptr);

    // Nothing when the port opened; otherwise the serial layer's error text,
    // and the port stays closed.
    std::optional<QString> open(const SerialPortSettings& settings);
    void close();
    bool isOpen() const { return m_port.isOpen(); }

Q_SIGNALS:
    // Received bytes, in the order they came, at most chunkLimit at a time.
    void received(const QByteArray& chunk);
    // The device was unplugged, or the far end of a pseudo-terminal closed:
    // the port has been closed.
    void lost(const QString& why);

private:
    void readChunks();
    void checkError(QSerialPort::SerialPortError error);

    QSerialPort m_port;
};

}  // namespace cabdrive
