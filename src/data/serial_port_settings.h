// The serial master controller's port settings, kept in the per-user store
// between runs.
#pragma once

#include <cstdint>
#include <string>

#include "ports/key_value_store.h"

namespace cabdrive {

enum class SerialParity : std::int32_t { None, Even, Odd, Space, Mark };
enum class SerialStopBits : std::int32_t { One, OneAndHalf, Two };

// 9600 baud, 8 data bits, no parity, one stop bit, no flow control; DTR and
// RTS off, as the controller expects. The port is a device path: a USB
// serial adapter, a built-in port (/dev/ttyS0) or a pseudo-terminal.
struct SerialPortSettings {
    static constexpr std::int32_t fastestBaudRate = 4'000'000;

    std::string portName = "/dev/ttyUSB0";
    std::int32_t baudRate = 9600;
    std::int32_t dataBits = 8;  // 5 .. 8
    SerialParity parity = SerialParity::None;
    SerialStopBits stopBits = SerialStopBits::One;
    bool dtr = false;
    bool rts = false;
};

// Each value that is absent or out of its range keeps its default.
SerialPortSettings readSerialPortSettings(KeyValueStore& store);
// False when the store refused a value.
bool writeSerialPortSettings(KeyValueStore& store, const SerialPortSettings& settings);

}  // namespace cabdrive
