// The driving state record of a save slot.
#include "data/saved_state_record.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>

#include "common/field.h"
#include "common/number_conversion.h"

namespace cabdrive {

namespace {

constexpr std::size_t fieldCount = 7;

RecordReading refused(std::string fault)
{
    return {std::nullopt, std::move(fault)};
}

}  // namespace

std::string formatRecord(const SavedStateRecord& record)
{
    std::string text = record.routeFileName;
    for (const std::int32_t value : {record.station, record.speed, record.frame, record.clockTicks, record.position,
                                     record.precedingFrame})
        text += "," + std::to_string(value);
    return text;
}

RecordReading readRecord(std::string_view text, const RecordLimits& limits)
{
    if (static_cast<std::size_t>(std::count(text.begin(), text.end(), ',')) != fieldCount - 1)
        return refused("項目の数が7つではありません");
    std::array<std::int32_t, fieldCount - 1> numbers{};
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const auto number = toInt(field(text, static_cast<int>(i) + 2));
        if (!number)
            return refused("数値でない項目があります");
        numbers[i] = *number;
    }
    const SavedStateRecord record{std::string(field(text, 1)), numbers[0], numbers[1], numbers[2],
                                  numbers[3], numbers[4], numbers[5]};
    if (record.station < 0 || static_cast<std::size_t>(record.station) >= limits.stations)
        return refused("駅の番号 " + std::to_string(record.station) + " はこの路線にありません");
    if (std::abs(static_cast<std::int64_t>(record.speed)) > limits.topSpeed)
        return refused("速度 " + std::to_string(record.speed) + " km/h は範囲外です");
    if (record.frame < 0 || record.frame > limits.lastFrame)
        return refused("フレーム " + std::to_string(record.frame) + " は映像の範囲外です");
    if (record.position < 0)
        return refused("位置が負の値です");
    if (record.position > limits.lastPosition)
        return refused("位置 " + std::to_string(record.position) + " cm は路線の範囲外です");
    if (std::abs(static_cast<std::int64_t>(record.clockTicks)) > recordClockLimit)
        return refused("時刻 " + std::to_string(record.clockTicks) + " は範囲外です");
    if (record.precedingFrame < 0)
        return refused("先行列車のフレームが負の値です");
    return {record, {}};
}

}  // namespace cabdrive
