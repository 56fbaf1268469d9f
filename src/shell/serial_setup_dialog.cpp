// The serial master controller's port settings dialog.
#include "shell/serial_setup_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QSerialPortInfo>

namespace cabdrive {
namespace {

constexpr int portNameLength = 24;  // characters shown: "/dev/serial/by-id/..." paths are long

QComboBox* makeCombo(QWidget& parent, const char* name, const QStringList& items)
{
    auto* combo = new QComboBox(&parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->addItems(items);
    return combo;
}

// Typing is allowed: a pseudo-terminal or a port the system does not list
// is given by its path.
QComboBox* makeEditableCombo(QWidget& parent, const char* name, const QStringList& items, const QString& current)
{
    QComboBox* combo = makeCombo(parent, name, items);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCurrentText(current);
    return combo;
}

QStringList listedPorts()
{
    QStringList ports;
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts())
        ports << port.systemLocation();
    return ports;
}

QStringList standardBaudRates()
{
    QStringList rates;
    for (const qint32 rate : QSerialPortInfo::standardBaudRates())
        rates << QString::number(rate);
    return rates;
}

QCheckBox* makeCheckBox(QWidget& parent, const char* name, bool checked)
{
    auto* box = new QCheckBox(&parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(checked);
    return box;
}

}  // namespace

SerialSetupDialog::SerialSetupDialog(const SerialPortSettings& settings, QWidget* parent)
    : QDialog(parent), m_start(settings)
{
    setObjectName(QStringLiteral("SerialSetup"));
    setWindowTitle(QStringLiteral("KXマスコン（設定）"));
    m_port = makeEditableCombo(*this, "port", listedPorts(), QString::fromStdString(settings.portName));
    m_port->setMinimumContentsLength(portNameLength);
    m_baudRate = makeEditableCombo(*this, "baudRate", standardBaudRates(), QString::number(settings.baudRate));
    m_baudRate->lineEdit()->setValidator(new QIntValidator(1, SerialPortSettings::fastestBaudRate, m_baudRate));
    m_dataBits = makeCombo(*this, "dataBits", {"5", "6", "7", "8"});
    m_dataBits->setCurrentIndex(settings.dataBits - 5);
    m_parity = makeCombo(*this, "parity", {"None", "Even", "Odd", "Space", "Mark"});
    m_parity->setCurrentIndex(static_cast<int>(settings.parity));
    m_stopBits = makeCombo(*this, "stopBits", {"1", "1.5", "2"});
    m_stopBits->setCurrentIndex(static_cast<int>(settings.stopBits));
    m_dtr = makeCheckBox(*this, "dtr", settings.dtr);
    m_rts = makeCheckBox(*this, "rts", settings.rts);

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Port"), m_port);
    form->addRow(QStringLiteral("Baud rate"), m_baudRate);
    form->addRow(QStringLiteral("Data bits"), m_dataBits);
    form->addRow(QStringLiteral("Parity"), m_parity);
    form->addRow(QStringLiteral("Stop bits"), m_stopBits);
    form->addRow(QStringLiteral("DTR on"), m_dtr);
    form->addRow(QStringLiteral("RTS on"), m_rts);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

SerialPortSettings SerialSetupDialog::settings() const
{
    SerialPortSettings s = m_start;
    const QString port = m_port->currentText().trimmed();
    if (!port.isEmpty())
        s.portName = port.toStdString();
    bool isNumber = false;
    const int rate = m_baudRate->currentText().toInt(&isNumber);
    if (isNumber && rate > 0)
        s.baudRate = rate;
    s.dataBits = m_dataBits->currentIndex() + 5;
    s.parity = static_cast<SerialParity>(m_parity->currentIndex());
    s.stopBits = static_cast<SerialStopBits>(m_stopBits->currentIndex());
    s.dtr = m_dtr->isChecked();
    s.rts = m_rts->isChecked();
    return s;
}

}  // namespace cabdrive
