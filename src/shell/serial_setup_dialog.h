// The serial master controller's port settings dialog (Setup1Click): the
// ports the system lists or a typed device path, and the line settings.
#pragma once

#include <QDialog>

#include "data/serial_port_settings.h"

class QCheckBox;
class QComboBox;

namespace cabdrive {

class SerialSetupDialog : public QDialog {
    Q_OBJECT
public:
    SerialSetupDialog(const SerialPortSettings& settings, QWidget* parent = nullptr);

    // What the dialog shows now; a baud rate that is no number keeps the
    // one it started with.
    SerialPortSettings settings() const;

private:
    SerialPortSettings m_start;
    QComboBox* m_port = nullptr;
    QComboBox* m_baudRate = nullptr;
    QComboBox* m_dataBits = nullptr;
    QComboBox* m_parity = nullptr;
    QComboBox* m_stopBits = nullptr;
    QCheckBox* m_dtr = nullptr;
    QCheckBox* m_rts = nullptr;
};

}  // namespace cabdrive
