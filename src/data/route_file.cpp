// Loading a route file: its keys in check order and what each one reads.
#include "data/route_file.h"

#include <array>
#include <string_view>
#include <utility>
#include <vector>

#include "common/line_reader.h"
#include "common/load_error.h"
#include "common/paths.h"
#include "data/reader_loop.h"

namespace cabdrive {

namespace {

// The label of a top-level line before any key has been tested against it.
constexpr std::string_view otherLabel = "その他";

std::string routeMessage(std::string_view label, std::string_view lastLine)
{
    std::string message = "路線ファイルに誤りがあります。";
    message += label;
    message += ':';
    message += lastLine;
    return message;
}

// What a picture of [SignImageList] and [SignalImageList] is called in the
// message that reports it could not be made.
constexpr std::array<std::string_view, signPictureCount> signPictureNames = {
    "停目", "停止線S", "停止線M", "停止線E", "勾配標", "制限標", "残り距離表示", "その他標識"};
constexpr std::array<std::string_view, signalPictureCount> signalPictureNames = {
    "信号機", "サブ信号機0", "サブ信号機1", "サブ信号機2"};

// Keys of the single values reported under the label of the key before them.
KeyRule unlabelled(std::string_view key, std::function<void(ValueReader&)> read)
{
    return KeyRule{key, std::nullopt, std::move(read)};
}

KeyRule labelled(std::string_view key, std::function<void(ValueReader&)> read)
{
    return KeyRule{key, key, std::move(read)};
}

// --- row parsers: each converts the current line ---

std::int32_t intValue(const ValueReader& in)
{
    return in.toIntOrFail(in.current());
}

std::string textValue(const ValueReader& in)
{
    return std::string(in.current());
}

// Fills every column of an IntRow, or of a row derived from one.
template <typename Row>
Row intRow(const ValueReader& in)
{
    Row row{};
    for (std::size_t n = 0; n < row.columns.size(); ++n)
        row.columns[n] = in.intField(static_cast<int>(n + 1));
    return row;
}

MovieSwitch movieSwitchRow(const ValueReader& in)
{
    MovieSwitch row;
    row.kind = in.intField(1);
    row.firstFrame = in.intField(2);
    row.lastFrame = in.intField(3);
    row.clipName = in.textField(4);
    row.clipLastFrame = in.intField(5);
    row.returnFrame = in.intField(6);
    row.startClock = in.intField(7);
    row.soundFrame = in.intField(8);
    row.sound = in.intField(9);
    return row;
}

Pre_Train preTrainRow(const ValueReader& in)
{
    return Pre_Train{in.intField(1), in.intField(2), in.intField(3)};
}

Station stationRow(const ValueReader& in)
{
    Station row;
    row.name = in.textField(1);
    row.kind = in.intField(2);
    row.stopFrame = in.intField(3);
    row.stopTolerance = in.intField(4);
    row.arrivalSound = in.intField(5);
    row.departureSound = in.intField(6);
    row.ambienceSound = in.intField(7);
    row.departureTime = in.intField(8);
    row.lineSpeed = in.intField(9);
    row.patternTarget = in.intField(10);
    row.doorSide = in.intField(11);
    row.column12 = in.intField(12);
    row.column13 = in.intField(13);
    row.column14 = in.intField(14);
    row.doorSoundChance = in.intField(15);
    return row;
}

Slope slopeRow(const ValueReader& in)
{
    return Slope{in.fixed4Field(1), in.intField(2), in.intField(3)};
}

SpeedUnit speedUnitRow(const ValueReader& in)
{
    SpeedUnit row;
    row.fromFrame = in.intField(1);
    row.toFrame = in.intField(2);
    row.fromSpeed = in.decimalField(3);
    row.toSpeed = in.decimalField(4);
    return row;
}

// --- tables ---

// Only [Sound] and [Sound2] allow ";" comment rows.
enum class Comments { fatal, skipped };

bool isComment(std::string_view line)
{
    return !line.empty() && line.front() == ';';
}

// Appends the rows up to the "#" line.
template <typename Row, std::size_t Capacity, typename ParseRow>
void readRows(ValueReader& in, FixedTable<Row, Capacity>& table, ParseRow parse, Comments comments = Comments::fatal)
{
    in.list([&] {
        if (comments == Comments::skipped && isComment(in.current()))
            return;
        in.addRow(table, parse(in));
    });
}

// A repeated key starts its table afresh.
template <typename Row, std::size_t Capacity, typename ParseRow>
void readTable(ValueReader& in, FixedTable<Row, Capacity>& table, ParseRow parse, Comments comments = Comments::fatal)
{
    table.restart();
    readRows(in, table, parse, comments);
}

// Some tables take the line after their key as a row whatever it holds, so a
// "#" there is a row that fails to convert rather than an empty table.
template <typename Row, std::size_t Capacity, typename ParseFirst, typename ParseRow>
void readTableWithFirstRow(ValueReader& in, FixedTable<Row, Capacity>& table, ParseFirst parseFirst, ParseRow parse)
{
    table.restart();
    in.nextLine();
    in.addRow(table, parseFirst(in));
    readRows(in, table, parse);
}

template <typename Row, std::size_t Capacity, typename ParseRow>
KeyRule tableKey(std::string_view key, FixedTable<Row, Capacity>& table, ParseRow parse, Comments comments = Comments::fatal)
{
    return labelled(key, [&table, parse, comments](ValueReader& in) { readTable(in, table, parse, comments); });
}

AnnounceRow announceHeader(const ValueReader& in)
{
    AnnounceRow header;
    header.columns[0] = intValue(in);
    return header;
}

// The handlers that need the load's source, its pictures or several fields.
class RouteReader {
public:
    RouteReader(const RouteSource& source, PictureLoader& pictures, RouteData& route)
        : m_source(source), m_pictures(pictures), m_route(route)
    {
    }

    std::vector<KeyRule> rules();

private:
    std::optional<Picture> loadPicture(std::string_view file) const
    {
        if (file.empty())
            return std::nullopt;
        return loadDataPicture(m_pictures, joinPath(m_source.programFolder, file));
    }

    // A picture of the sign and signal lists: an empty or unloadable file
    // has its own message rather than the route-file one.
    Picture makePicture(std::string_view file, std::string_view name) const
    {
        auto picture = loadPicture(file);
        if (!picture)
            throw LoadError(std::string(name) + "の生成エラー");
        return std::move(*picture);
    }

    void readPreTrain(ValueReader& in);
    void readSoundData(ValueReader& in);
    void readMonitor(ValueReader& in);
    void readKankoSound1(ValueReader& in);
    void readKankoSound2(ValueReader& in);
    void readSignImages(ValueReader& in);
    void readSignalImages(ValueReader& in);
    void readPictureList(ValueReader& in, std::vector<Picture>& list) const;

    const RouteSource& m_source;
    PictureLoader& m_pictures;
    RouteData& m_route;
};

void RouteReader::readPreTrain(ValueReader& in)
{
    in.nextLine();
    m_route.preTrainStartFrame = in.intField(1);
    m_route.preTrainEndFrame = in.intField(2);
    readTable(in, m_route.preTrains, preTrainRow);
}

// Each file gets a channel of its own after the vehicle's.
void RouteReader::readSoundData(ValueReader& in)
{
    auto& table = m_route.soundData;
    table.restart();
    in.list([&] {
        in.addRow(table, textValue(in));
        if (m_source.vehicleSoundChannels + table.size() + voiceChannelCount > soundChannelCapacity)
            in.fail();
    });
}

// Only the running vehicle's monitor is read; for another vehicle the block
// ends after the name, and its remaining lines are read as ordinary lines.
void RouteReader::readMonitor(ValueReader& in)
{
    if (in.nextLine() != m_source.trainFileName)
        return;
    MonitorPicture& monitor = m_route.monitor.emplace();
    monitor.x = in.intLine();
    monitor.y = in.intLine();
    monitor.patternWidth = in.intLine();
    monitor.patternHeight = in.intLine();
    monitor.file = in.textLine();
    if (monitor.file.empty())
        return;
    monitor.picture = loadPicture(monitor.file);
    if (!monitor.picture)
        in.fail();
}

// Exactly 22 lines whatever they hold: a "#" line is a file name here.
void RouteReader::readKankoSound1(ValueReader& in)
{
    for (std::size_t k = 0; k < fixedKankoCount; ++k)
        m_route.kankoVoices[k].file = in.textLine();
}

void RouteReader::readKankoSound2(ValueReader& in)
{
    std::size_t& count = m_route.kankoSound2Count;
    count = 0;
    in.list([&] {
        if (count == numberedKankoCapacity)
            in.fail();
        m_route.kankoVoices[fixedKankoCount + count] = KankoVoice{static_cast<std::int32_t>(count), textValue(in)};
        ++count;
    });
}

// Lines of "file,size"; each picture is made as soon as its line is read.
void RouteReader::readSignImages(ValueReader& in)
{
    auto& list = m_route.signPictures.emplace();
    for (std::size_t k = 0; k < signPictureCount; ++k) {
        in.nextLine();
        SignPicture& sign = list[k];
        sign.size = in.intField(2);
        sign.file = in.textField(1);
        sign.picture = makePicture(sign.file, signPictureNames[k]);
    }
}

// The signal's line is "x,y,width,height,file"; the sub-signals' lines
// "width,height,file".
void RouteReader::readSignalImages(ValueReader& in)
{
    auto& list = m_route.signalPictures.emplace();
    for (std::size_t k = 0; k < signalPictureCount; ++k) {
        in.nextLine();
        SignalPicture& signal = list[k];
        int sizeField = 1;
        if (k == 0) {
            signal.x = in.intField(1);
            signal.y = in.intField(2);
            sizeField = 3;
        }
        signal.width = in.intField(sizeField);
        signal.height = in.intField(sizeField + 1);
        signal.file = in.textField(sizeField + 2);
        signal.picture = makePicture(signal.file, signalPictureNames[k]);
    }
}

// A repeated key appends to the list rather than starting it afresh.
void RouteReader::readPictureList(ValueReader& in, std::vector<Picture>& list) const
{
    in.list([&] {
        auto picture = loadPicture(in.current());
        if (!picture)
            in.fail();
        list.push_back(std::move(*picture));
    });
}

std::vector<KeyRule> RouteReader::rules()
{
    RouteData& r = m_route;
    return {
        unlabelled("[LineName]", [&r](ValueReader& in) { r.lineName = in.textLine(); }),
        unlabelled("[LineName2]", [&r](ValueReader& in) { r.lineName2 = in.textLine(); }),
        unlabelled("[StartPos]", [&r](ValueReader& in) { r.startPos = in.intLine(); }),
        unlabelled("[FrameRate]", [&r](ValueReader& in) { r.frameRate = in.intLine(); }),
        unlabelled("[Staf]",
                   [&r](ValueReader& in) {
                       r.stafCardFile = in.textLine();
                       r.openingPictureFile = in.textLine();
                       r.subDisplayFile = in.textLine();
                   }),
        unlabelled("[Friction]", [&r](ValueReader& in) { r.friction = in.fixed4Line(); }),
        labelled("[StafSwitch]",
                 [&r](ValueReader& in) { readTableWithFirstRow(in, r.stafSwitches, intValue, intValue); }),
        tableKey("[MovieStop]", r.movieStops, intValue),
        tableKey("[MovieSwitch]", r.movieSwitches, movieSwitchRow),
        tableKey("[Speed_Signal]", r.speedSignals, intValue),
        unlabelled("[DataName]", [&r](ValueReader& in) { r.dataName = in.textLine(); }),
        unlabelled("[Perspective]",
                   [&r](ValueReader& in) {
                       r.perspectiveFactor = in.decimalLine();
                       r.perspectiveOffset = in.intLine();
                   }),
        labelled("[Pre_Train]", [this](ValueReader& in) { readPreTrain(in); }),
        unlabelled("[OneMan]", [&r](ValueReader& in) { r.oneMan = in.intLine(); }),
        labelled("[SoundData]", [this](ValueReader& in) { readSoundData(in); }),
        unlabelled("[Monitor]", [this](ValueReader& in) { readMonitor(in); }),
        labelled("[Announce]",
                 [&r](ValueReader& in) {
                     readTableWithFirstRow(in, r.announces, announceHeader, intRow<AnnounceRow>);
                 }),
        labelled("[KankoSound1]", [this](ValueReader& in) { readKankoSound1(in); }),
        labelled("[KankoSound2]", [this](ValueReader& in) { readKankoSound2(in); }),
        tableKey("[Sound]", r.sounds, intRow<SoundRow>, Comments::skipped),
        tableKey("[Sound2]", r.sound2s, intRow<Sound2Row>, Comments::skipped),
        tableKey("[Doppler]", r.dopplers, intRow<DopplerRow>),
        tableKey("[Tunnel]", r.tunnels, intRow<TunnelRow>),
        tableKey("[Atten]", r.attens, intRow<AttenRow>),
        labelled("[TunnelR]", [&r](ValueReader& in) {
            r.tunnelR = in.intLine();
            if (r.tunnelR < 0 || r.tunnelR > RouteData::maxTunnelR)
                in.fail();
        }),
        tableKey("[Station]", r.stations, stationRow),
        tableKey("[StopSound]", r.stopSounds, intValue),
        tableKey("[Signal]", r.signals, intRow<SignalRow>),
        tableKey("[TrafficSignal]", r.trafficSignals, intRow<TrafficSignalRow>),
        tableKey("[Slope]", r.slopes, slopeRow),
        tableKey("[Sign]", r.signs, intRow<SignRow>),
        tableKey("[Anim]", r.anims, intRow<AnimRow>),
        tableKey("[SignalKanko]", r.signalKankos, intRow<KankoRow>),
        tableKey("[StationKanko]", r.stationKankos, intRow<KankoRow>),
        tableKey("[SpeedLimit]", r.speedLimits, intRow<SpeedLimitRow>),
        tableKey("[SpeedCheck1]", r.speedChecks1, intRow<SpeedCheck1Row>),
        tableKey("[SpeedCheck2]", r.speedChecks2, intRow<SpeedCheck2Row>),
        labelled("[SignImageList]", [this](ValueReader& in) { readSignImages(in); }),
        labelled("[SignalImageList]", [this](ValueReader& in) { readSignalImages(in); }),
        tableKey("[OtherKanko]", r.otherKankos, textValue),
        tableKey("[LimitKanko]", r.limitKankos, textValue),
        labelled("[AnimImageList]", [this, &r](ValueReader& in) { readPictureList(in, r.animPictures); }),
        labelled("[TrafficSignalImageList]",
                 [this, &r](ValueReader& in) { readPictureList(in, r.trafficSignalPictures); }),
        tableKey("[SpeedUnit]", r.speedUnits, speedUnitRow),
        labelled("[CrossImageList]", [this, &r](ValueReader& in) { readPictureList(in, r.crossPictures); }),
        tableKey("[Cross]", r.crosses, intRow<CrossRow>),
        tableKey("[Time]", r.times, intRow<TimeRow>),
        tableKey("[Switch]", r.switches, intRow<SwitchRow>),
    };
}

}  // namespace

std::unique_ptr<RouteData> loadRoute(const RouteSource& source, PictureLoader& pictures)
{
    const std::string path = joinPath(source.programFolder, source.routeFileName);
    auto file = openDataFile(path);
    if (!file)
        throw LoadError(withFileNotOpened(routeMessage(otherLabel, ""), path));

    auto route = std::make_unique<RouteData>();
    route->programFolder = source.programFolder;
    route->routeFileName = source.routeFileName;
    RouteReader routeReader(source, pictures, *route);
    ValueReader reader(*file, routeMessage);
    runReaderLoop(reader, routeReader.rules(), [](ValueReader& in) { in.setLabel(otherLabel); });
    return route;
}

std::unique_ptr<SpeedUnitTable> readSpeedUnits(const std::string& programFolder, const std::string& routeFileName)
{
    auto file = openDataFile(joinPath(programFolder, routeFileName));
    if (!file)
        return nullptr;
    auto table = std::make_unique<SpeedUnitTable>();
    ValueReader reader(*file, routeMessage);
    try {
        runReaderLoop(reader, {tableKey("[SpeedUnit]", *table, speedUnitRow)});
    } catch (const LoadError&) {
        return nullptr;
    }
    return table;
}

std::vector<std::string_view> routeFileKeys()
{
    const RouteSource source;
    NoPictureLoader pictures;
    auto route = std::make_unique<RouteData>();
    RouteReader reader(source, pictures, *route);
    std::vector<std::string_view> keys;
    for (const KeyRule& rule : reader.rules())
        keys.push_back(rule.key);
    return keys;
}

}  // namespace cabdrive
