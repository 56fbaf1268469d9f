// cabdrive-check's warnings: data that loads but cannot work as meant.
#include "data_folder_warnings.h"

#include <atomic>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <string_view>

#include "common/line_reader.h"
#include "common/paths.h"
#include "data/route_distances.h"
#include "data/title_media.h"
#include "platform/ffmpeg/ffmpeg_audio_decoder.h"
#include "ports/video_reader.h"
#include "sim/video_switch.h"

extern "C" {
#include <libavutil/log.h>
}

namespace cabdrive {
namespace {

// Frames decoded to find a video that breaks off or is damaged part way.
constexpr std::int32_t framesSampled = 16;

std::string tonnes(long double mass)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.4Lf", mass);
    return text;
}

// Prefixes every warning with the file it is about.
class FileWarnings {
public:
    FileWarnings(std::string file, Warnings& warnings) : m_file(std::move(file)), m_warnings(warnings) {}
    void add(const std::string& text) { m_warnings.push_back(m_file + ": " + text); }

private:
    std::string m_file;
    Warnings& m_warnings;
};

std::string size(const Picture& p)
{
    return std::to_string(p.width) + " x " + std::to_string(p.height) + " px";
}

// A picture of one pixel, or smaller than the cell it is cut into, shows
// nothing a driver can read.
void warnOfTinyPicture(FileWarnings& w, std::string_view key, const std::string& file, const Picture& picture,
                       std::int32_t cellWidth, std::int32_t cellHeight)
{
    if (picture.width <= 1 && picture.height <= 1)
        w.add(std::string(key) + " picture " + file + " is " + size(picture) + ": it shows nothing");
    else if (picture.width < cellWidth || picture.height < cellHeight)
        w.add(std::string(key) + " picture " + file + " is " + size(picture) + ", smaller than one " +
              std::to_string(cellWidth) + " x " + std::to_string(cellHeight) + " px cell: it shows nothing");
}

void warnOfStrips(FileWarnings& w, const VehicleSpec& v)
{
    const std::pair<std::string_view, const PictureStrip*> strips[] = {
        {"[Lamp_signal]", &v.lampSignal},     {"[NotchImageP]", &v.notchImageP},
        {"[NotchImageB]", &v.notchImageB},    {"[NotchImageP2]", &v.notchImageP2},
        {"[NotchImageB2]", &v.notchImageB2},  {"[GearImageList]", &v.gearImageList},
        {"[GearImageList2]", &v.gearImageList2}, {"[Digi_Speed]", &v.digiSpeed},
    };
    for (const auto& [key, strip] : strips) {
        if (strip->picture)
            warnOfTinyPicture(w, key, strip->file, *strip->picture, strip->patternWidth, strip->patternHeight);
    }
}

void warnOfNotchTable(FileWarnings& w, const VehicleSpec& v)
{
    if (v.engineType != 1 || v.powerType != 1)
        return;
    const auto rows = static_cast<std::int32_t>(v.notchTable.size());
    const std::string counts = "[Notch] has " + std::to_string(rows) + " rows for [Power] " + std::to_string(v.powerNotches);
    if (rows == v.powerNotches + 1)
        w.add(counts + ": the first row is notch 1, so a leading notch-0 row shifts every notch by one");
    else if (rows < v.powerNotches)
        w.add(counts + ": notches above " + std::to_string(rows) + " give no power");
}

// The friction brake's force is its full force times the cylinder pressure
// over [EBPress], whatever the brake type; the service notches fill the
// cylinders towards [MAXPress], only the emergency position towards [EBPress].
void warnOfBrakePressures(FileWarnings& w, const VehicleSpec& v)
{
    if (v.ebPress <= 0)
        w.add("[EBPress] is " + std::to_string(v.ebPress) + ": the brake force is reckoned per kPa of it, so no brake "
              "acts and the train never stops");
    else if (v.maxPress <= 0)
        w.add("[MAXPress] is " + std::to_string(v.maxPress) + ": the service notches apply no air brake; only the "
              "emergency position fills the cylinders");
}

// Frames that lie in no [SpeedUnit] row get the distance 0: almost always a
// table that stops short of the line's objects. Beyond the video's last
// frame the object is never reached.
template <typename Table, typename FrameOf>
void warnOfFrames(FileWarnings& w, const RouteData& r, std::string_view key, const Table& table,
                  std::int32_t videoFrames, FrameOf frameOf)
{
    for (std::size_t i = 0; i < table.size(); ++i) {
        const std::int32_t frame = frameOf(table[i]);
        const std::string row = std::string(key) + " row " + std::to_string(i) + " frame " + std::to_string(frame);
        if (videoFrames > 0 && frame > videoFrames)
            w.add(row + " lies beyond the last frame of the video (" + std::to_string(videoFrames) + ")");
        else if (!speedUnitRowByScan(r.speedUnits, frame))
            w.add(row + " lies in no [SpeedUnit] row; its distance is 0");
    }
}

void warnOfSpeedUnits(FileWarnings& w, const RouteData& r)
{
    for (std::size_t k = 0; k < r.speedUnits.size(); ++k) {
        const SpeedUnit& row = r.speedUnits[k];
        // No frame lies in such a row, and its length counts backwards.
        if (row.toFrame <= row.fromFrame)
            w.add("[SpeedUnit] row " + std::to_string(k) + " runs from frame " + std::to_string(row.fromFrame) + " to " +
                  std::to_string(row.toFrame) + ": a row must run forwards");
        else if (k > 0 && row.fromFrame != r.speedUnits[k - 1].toFrame)
            w.add("[SpeedUnit] row " + std::to_string(k) + " starts at frame " + std::to_string(r.speedUnits[k].fromFrame) +
                  ", not where the row before it ends (" + std::to_string(r.speedUnits[k - 1].toFrame) + ")");
    }
}

// FFmpeg's own reports of damaged data while the check decodes, counted
// instead of printed: its decoders hide the damage in the picture.
std::atomic<int> decodingErrors{0};

void countDecodingErrors(void* avClass, int level, const char* format, va_list arguments)
{
    if (level <= AV_LOG_ERROR)
        ++decodingErrors;
    else
        av_log_default_callback(avClass, level, format, arguments);
}

// A truncated file opens and counts its frames from the header, then has no
// picture for the frames it lost; a file damaged inside decodes into blocks
// of garbage. Both are found by decoding frames spread over the video.
void warnOfUndecodableFrames(FileWarnings& w, VideoReader& video, const std::string& path)
{
    const std::int32_t count = video.frameCount();
    decodingErrors = 0;
    av_log_set_callback(countDecodingErrors);
    std::int32_t undecodable = -1;
    for (std::int32_t k = 0; k < framesSampled && undecodable < 0; ++k) {
        const auto frame = static_cast<std::int32_t>(std::int64_t{count - 1} * k / (framesSampled - 1));
        if (!video.decodeFrame(frame))
            undecodable = frame;
    }
    av_log_set_callback(av_log_default_callback);
    if (undecodable >= 0)
        w.add("frame " + std::to_string(undecodable) + " of the video " + path + " (" + std::to_string(count) +
              " frames) cannot be decoded: the view stops changing there");
    else if (decodingErrors > 0)
        w.add("the video " + path + " is damaged: decoding " + std::to_string(framesSampled) + " frames of it met " +
              std::to_string(decodingErrors.load()) + " errors, shown as blocks of garbage");
}

void warnOfVideo(FileWarnings& w, const LoadedRun& loaded, VideoReader& video)
{
    const RouteData& r = *loaded.route;
    const std::string path = triedPath(videoPath(*loaded.run, r.dataName));  // as the program names it
    if (!loaded.mainVideoOpened) {
        w.add("the video " + path + " cannot be opened: the run shows no pictures");
        return;
    }
    const std::int32_t count = video.frameCount();
    if (!r.speedUnits.empty() && r.speedUnits[r.speedUnits.size() - 1].toFrame != count)
        w.add("the video " + path + " has " + std::to_string(count) + " frames, but [SpeedUnit] ends at frame " +
              std::to_string(r.speedUnits[r.speedUnits.size() - 1].toFrame));
    warnOfUndecodableFrames(w, video, path);
}

void warnOfRoutePictures(FileWarnings& w, const RouteData& r, const LoadedRun& loaded)
{
    if (r.signalPictures) {
        constexpr std::string_view names[] = {"[SignalImageList] signal", "[SignalImageList] sub-signal S",
                                              "[SignalImageList] sub-signal L", "[SignalImageList] sub-signal R"};
        for (std::size_t k = 0; k < signalPictureCount; ++k) {
            const SignalPicture& s = (*r.signalPictures)[k];
            warnOfTinyPicture(w, names[k], s.file, s.picture, s.width, s.height);
        }
    }
    if (!r.openingPictureFile.empty() && !loaded.staff.opening)
        w.add("[Staf] opening picture " + r.openingPictureFile + " cannot be loaded: the view stays black before the start");
}

}  // namespace

void warnOfTitle(const std::string& folder, PictureLoader& pictures, Warnings& warnings)
{
    FileWarnings w("title screen", warnings);
    for (const MenuEntryPicture& entry : menuEntryPictures) {
        if (!loadDataPicture(pictures, joinPath(folder, entry.file)))
            w.add(std::string(entry.file) + " cannot be loaded: the caption \"" + std::string(entry.caption) +
                  "\" takes its place");
    }
    // The title's media player opens a sound with the audio decoder.
    for (const std::string_view sound : {openingSoundFile, startSoundFile}) {
        if (!FfmpegAudioDecoder().open(resolveDataPath(joinPath(folder, sound))))
            w.add(std::string(sound) + " cannot be played: the title goes on in silence");
    }
    if (!openDataFile(joinPath(folder, helpTextFile)))
        w.add(std::string(helpTextFile) + " cannot be opened: the program says so at start and the Help window stays empty");
}

void warnOfSettings(const Settings& s, Warnings& warnings)
{
    FileWarnings w("cabdrive.dat", warnings);
    if (s.physicsStepDivisor <= 0)
        w.add("[Disp] gives the physics step divisor " + std::to_string(s.physicsStepDivisor) +
              ": the brakes and the air never move, so no train ever leaves");
    if (s.videoFrameFactor <= 0)
        w.add("[Disp] gives the video frame factor " + std::to_string(s.videoFrameFactor) + ": no frame of the video is shown");
    if (s.viewWidth <= 0 || s.viewHeight <= 0)
        w.add("[Disp] gives a view of " + std::to_string(s.viewWidth) + " x " + std::to_string(s.viewHeight) +
              " px: nothing of the line is drawn");
}

void warnOfVehicle(const std::string& vehicleName, const LoadedRun& loaded, Warnings& warnings)
{
    const VehicleSpec& v = loaded.vehicle;
    FileWarnings w(vehicleName, warnings);
    if (v.maxSpeed <= 0)
        w.add("[MaxSpeed] is " + std::to_string(v.maxSpeed) + ": the train never takes power");
    // Equal to the ten-thousandth the file can write.
    const long double carMasses = v.massMotor.value() + v.massTrailer.value() + v.massCab.value();
    if (std::fabs(carMasses - v.trainMass.value()) >= 0.00005L)
        w.add("[Mt] + [Tt] + [Tct] is " + tonnes(carMasses) + " t, but [Tons] is " + tonnes(v.trainMass.value()) +
              " t: braking and adhesion reckon with another train than traction does");
    warnOfBrakePressures(w, v);
    warnOfNotchTable(w, v);
    warnOfStrips(w, v);
}

void warnOfRoute(const std::string& routeFileName, const LoadedRun& loaded, VideoReader& video, Warnings& warnings)
{
    const RouteData& r = *loaded.route;
    FileWarnings w(routeFileName, warnings);
    if (r.friction.raw <= 0)
        w.add("[Friction] is missing or 0: every powered notch slips and every brake slides, so no train moves");
    warnOfVideo(w, loaded, video);
    warnOfSpeedUnits(w, r);
    const std::int32_t videoFrames = loaded.mainVideoOpened ? video.frameCount() : 0;
    warnOfFrames(w, r, "[Station]", r.stations, videoFrames, [](const Station& s) { return s.stopFrame; });
    warnOfFrames(w, r, "[Signal]", r.signals, videoFrames, [](const SignalRow& s) { return s.column(6); });
    warnOfFrames(w, r, "[SpeedLimit]", r.speedLimits, videoFrames, [](const SpeedLimitRow& l) { return l.column(4); });
    warnOfFrames(w, r, "[SpeedCheck1]", r.speedChecks1, videoFrames, [](const SpeedCheck1Row& c) { return c.column(3); });
    warnOfFrames(w, r, "[SpeedCheck2]", r.speedChecks2, videoFrames, [](const SpeedCheck2Row& c) { return c.column(3); });
    warnOfRoutePictures(w, r, loaded);
}

}  // namespace cabdrive
