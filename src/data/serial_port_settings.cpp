// Reading and writing the serial port settings.
#include "data/serial_port_settings.h"

#include <optional>

namespace cabdrive {
namespace {

// Stored under the options' key path.
constexpr std::string_view portValue = "ComPort", baudValue = "ComBaudRate", dataBitsValue = "ComDataBits",
                           parityValue = "ComParity", stopBitsValue = "ComStopBits", dtrValue = "ComDTR",
                           rtsValue = "ComRTS";

std::optional<std::int32_t> readInRange(KeyValueStore& store, std::string_view name, std::int32_t low,
                                        std::int32_t high)
{
    const auto value = store.readInt(optionsKeyPath, name);
    if (value && *value >= low && *value <= high)
        return value;
    return std::nullopt;
}

}  // namespace

SerialPortSettings readSerialPortSettings(KeyValueStore& store)
{
    SerialPortSettings s;
    if (const auto port = store.readString(optionsKeyPath, portValue); port && !port->empty())
        s.portName = *port;
    s.baudRate = readInRange(store, baudValue, 1, SerialPortSettings::fastestBaudRate).value_or(s.baudRate);
    s.dataBits = readInRange(store, dataBitsValue, 5, 8).value_or(s.dataBits);
    if (const auto parity = readInRange(store, parityValue, 0, static_cast<std::int32_t>(SerialParity::Mark)))
        s.parity = static_cast<SerialParity>(*parity);
    if (const auto stopBits = readInRange(store, stopBitsValue, 0, static_cast<std::int32_t>(SerialStopBits::Two)))
        s.stopBits = static_cast<SerialStopBits>(*stopBits);
    s.dtr = readInRange(store, dtrValue, 0, 1).value_or(0) == 1;
    s.rts = readInRange(store, rtsValue, 0, 1).value_or(0) == 1;
    return s;
}

bool writeSerialPortSettings(KeyValueStore& store, const SerialPortSettings& s)
{
    bool stored = store.writeString(optionsKeyPath, portValue, s.portName);
    stored &= store.writeInt(optionsKeyPath, baudValue, s.baudRate);
    stored &= store.writeInt(optionsKeyPath, dataBitsValue, s.dataBits);
    stored &= store.writeInt(optionsKeyPath, parityValue, static_cast<std::int32_t>(s.parity));
    stored &= store.writeInt(optionsKeyPath, stopBitsValue, static_cast<std::int32_t>(s.stopBits));
    stored &= store.writeInt(optionsKeyPath, dtrValue, s.dtr ? 1 : 0);
    stored &= store.writeInt(optionsKeyPath, rtsValue, s.rts ? 1 : 0);
    return stored;
}

}  // namespace cabdrive
