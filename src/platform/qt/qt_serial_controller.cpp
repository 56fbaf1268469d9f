// The serial master controller's port on QSerialPort.
#include "platform/qt/qt_serial_controller.h"

namespace cabdrive {
namespace {

QSerialPort::Parity qtParity(SerialParity parity)
{
    switch (parity) {
    case SerialParity::Even: return QSerialPort::EvenParity;
    case SerialParity::Odd: return QSerialPort::OddParity;
    case SerialParity::Space: return QSerialPort::SpaceParity;
    case SerialParity::Mark: return QSerialPort::MarkParity;
    case SerialParity::None: break;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits qtStopBits(SerialStopBits stopBits)
{
    switch (stopBits) {
    case SerialStopBits::OneAndHalf: return QSerialPort::OneAndHalfStop;
    case SerialStopBits::Two: return QSerialPort::TwoStop;
    case SerialStopBits::One: break;
    }
    return QSerialPort::OneStop;
}

}  // namespace

QtSerialController::QtSerialController(QObject* parent) : QObject(parent)
{
    m_port.setReadBufferSize(chunkLimit);
    connect(&m_port, &QSerialPort::readyRead, this, &QtSerialController::readChunks);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialController::checkError);
}

std::optional<QString> QtSerialController::open(const SerialPortSettings& s)
{
    close();
    m_port.setPortName(QString::fromStdString(s.portName));
    const bool opened = m_port.open(QIODevice::ReadOnly);
    // Line settings are applied to the open device; a device that refuses
    // one (a rate it cannot make) is not left half set up.
    const bool set = opened && m_port.setBaudRate(s.baudRate)
                     && m_port.setDataBits(static_cast<QSerialPort::DataBits>(s.dataBits))
                     && m_port.setParity(qtParity(s.parity)) && m_port.setStopBits(qtStopBits(s.stopBits))
                     && m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!set) {
        const QString why = m_port.errorString();
        close();
        return why;
    }
    // A pseudo-terminal has no modem lines to set; that is no reason to fail.
    m_port.setDataTerminalReady(s.dtr);
    m_port.setRequestToSend(s.rts);
    m_port.clearError();
    return std::nullopt;
}

void QtSerialController::close()
{
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
}

void QtSerialController::readChunks()
{
    while (m_port.isOpen() && m_port.bytesAvailable() > 0)
        Q_EMIT received(m_port.read(chunkLimit));
}

// An unplugged USB adapter reports a resource error; the far end of a
// pseudo-terminal closing makes the next read fail. Either way nothing more
// will come, and the port is closed rather than polled in vain.
void QtSerialController::checkError(QSerialPort::SerialPortError error)
{
    if ((error != QSerialPort::ResourceError && error != QSerialPort::ReadError) || !m_port.isOpen())
        return;
    const QString why = m_port.errorString();
    close();
    Q_EMIT lost(why);
}

}  // namespace cabdrive
