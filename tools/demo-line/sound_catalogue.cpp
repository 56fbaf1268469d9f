// The demo line's sound files and the route's environment sound list.
#include "sound_catalogue.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "sound_synth.h"

namespace cabdrive::demo {

namespace {

std::string fileSystemPath(const std::string& folder, const std::string& dataPath)
{
    std::string path = dataPath;
    std::replace(path.begin(), path.end(), '\\', '/');
    return folder + "/" + path;
}

Wave joined(std::initializer_list<Wave> parts)
{
    Wave all;
    for (const Wave& part : parts)
        all.samples.insert(all.samples.end(), part.samples.begin(), part.samples.end());
    return all;
}

struct EnvSoundFile {
    EnvSound sound;
    const char* file;  // under sound\line\ of the data folder
    std::function<Wave()> make;
};

// One entry per EnvSound, in enum order.
std::vector<EnvSoundFile> envSoundFiles()
{
    using E = EnvSound;
    return {
        {E::arrivalChime, "arrival_chime.wav", arrivalChime},
        {E::melody0, "melody0.wav", [] { return departureMelody(0); }},
        {E::melody1, "melody1.wav", [] { return departureMelody(1); }},
        {E::melody2, "melody2.wav", [] { return departureMelody(2); }},
        {E::melody3, "melody3.wav", [] { return departureMelody(3); }},
        {E::ambience0, "ambience0.wav", [] { return stationAmbience(0); }},
        {E::ambience1, "ambience1.wav", [] { return stationAmbience(1); }},
        {E::crossingBell, "crossing_bell.wav", crossingBell},
        {E::tunnelRoar, "tunnel.wav", tunnelRoar},
        {E::pointsClack, "points.wav", pointsClack},
        {E::oncomingHorn, "oncoming_horn.wav", [] { return hornPart(3); }},
        {E::hum, "hum.wav", airConditioningHum},
        {E::unscheduledStop, "unscheduled_stop.wav",
         [] { return speech("ただいま、ていししんごうのため、ていしゃしております。しばらくおまちください。", 1); }},
        {E::passingAnnouncement, "passing.wav", [] { return speech("まもなく、でんしゃがつうかします。ごちゅういください。", 2); }},
        {E::stationClipAnnouncement, "doors_closing.wav", [] { return speech("どあがしまります。ごちゅういください。", 2); }},
        {E::departureTone, "departure_tone.wav", [] { return tone(800, 0.6); }},
        {E::brakeRelease, "brake_release.wav", [] { return airExhaust(1.2); }},
        {E::brakeStep, "brake_step.wav", [] { return airApply(0.3); }},
        {E::brakeApplyPuff, "brake_apply.wav", [] { return airApply(0.5); }},
        {E::powerNotch, "notch_power.wav", [] { return notchClick(false); }},
        {E::brakeNotch, "notch_brake.wav", [] { return notchClick(true); }},
        {E::emergencyExhaust, "emergency.wav", [] { return airExhaust(2.5); }},
        {E::autoBrakeApply, "auto_brake_apply.wav", [] { return airApply(1.0); }},
        {E::pipeCharge, "pipe_charge.wav", [] { return airExhaust(1.0); }},
        {E::atsBell, "ats_bell.wav", bell},
        {E::atsChime, "ats_chime.wav", chime},
        {E::atsAck, "ats_ack.wav", [] { return tone(1000, 0.3); }},
        {E::atcBell, "atc_bell.wav", [] { return tone(880, 0.6); }},
        {E::horn, "horn.wav", [] { return joined({hornPart(0), hornPart(1), hornPart(1), hornPart(2)}); }},
        {E::whistle, "whistle.wav", whistle},
        {E::shortHorn, "horn_short.wav", [] { return hornPart(3); }},
        {E::hornAttack, "horn_attack.wav", [] { return hornPart(0); }},
        {E::hornSustain, "horn_sustain.wav", [] { return hornPart(1); }},
        {E::hornSustain2, "horn_sustain2.wav", [] { return hornPart(1); }},
        {E::hornRelease, "horn_release.wav", [] { return hornPart(2); }},
        {E::doorOpen, "door_open.wav", doorOpen},
        {E::doorClose, "door_close.wav", doorClose},
        {E::vigilanceAlarm, "vigilance.wav", [] { return tone(1200, 1.0); }},
        {E::squeal, "squeal.wav", brakeSqueal},
        {E::compressorStart, "compressor_start.wav", compressorStart},
        {E::compressorRun, "compressor_run.wav", compressorRun},
        {E::compressorEnd, "compressor_end.wav", compressorEnd},
        {E::stopAlert, "stop_alert.wav", [] { return tone(784, 0.8); }},
        {E::buzzer, "buzzer.wav", buzzer},
        {E::departureBuzzer, "departure_buzzer.wav", buzzer},
        {E::atsWarning, "ats_warning.wav", [] { return tone(2400, 0.5); }},
        {E::engineStart, "engine_start.wav", [] { return joined({compressorStart(), dieselEngine(18), dieselEngine(12)}); }},
        {E::engineStop, "engine_stop.wav", [] { return joined({dieselEngine(10), airExhaust(0.8)}); }},
    };
}

constexpr int stationSoundsEach = 3;  // arrival, next stop, approaching

}  // namespace

void SoundCatalogue::add(const std::string& dataPath, std::function<Wave()> make)
{
    const bool known = std::any_of(m_files.begin(), m_files.end(), [&](const File& f) { return f.dataPath == dataPath; });
    if (!known)
        m_files.push_back({dataPath, std::move(make)});
}

void SoundCatalogue::writeAll(const std::string& dataFolder, int threads) const
{
    std::atomic<std::size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureLock;
    const auto work = [&] {
        try {
            for (std::size_t i = next++; i < m_files.size(); i = next++)
                writeWave(fileSystemPath(dataFolder, m_files[i].dataPath), m_files[i].make());
        } catch (...) {
            const std::lock_guard lock(failureLock);
            failure = std::current_exception();
        }
    };
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t)
        workers.emplace_back(work);
    work();
    for (std::thread& w : workers)
        w.join();
    if (failure)
        std::rethrow_exception(failure);
}

RouteSounds::RouteSounds(const LineGeometry& downLine, SoundCatalogue& catalogue)
{
    const std::vector<EnvSoundFile> files = envSoundFiles();
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (static_cast<std::size_t>(files[i].sound) != i)
            throw std::logic_error("environment sounds out of order");
        const std::string path = std::string("sound\\line\\") + files[i].file;
        catalogue.add(path, files[i].make);
        m_soundData.push_back(path);
    }
    for (std::size_t k = 0; k < downLine.stations.size(); ++k) {
        const StationSite& s = downLine.stations[k];
        m_stationNames.push_back(s.name);
        const std::string stem = "sound\\line\\station" + std::to_string(k);
        // The end stations are only ever arrived at as the terminus.
        const bool terminus = k == 0 || k + 1 == downLine.stations.size();
        const std::string arrival = s.kind == stopWithoutService ? "うんてんていしゃです。どあは、ひらきません。"
                                    : terminus ? "しゅうてん、" + s.reading + "です。ごじょうしゃ、ありがとうございました。"
                                               : s.reading + "、" + s.reading + "です。";
        const std::string announcements[stationSoundsEach] = {
            arrival,
            "つぎは、" + s.reading + "です。",
            "まもなく、" + s.reading + "です。おでぐちは、" + (s.platformLeft ? "ひだりがわ" : "みぎがわ") + "です。",
        };
        const char* suffixes[stationSoundsEach] = {"_arrival.wav", "_next.wav", "_approach.wav"};
        for (int j = 0; j < stationSoundsEach; ++j) {
            const std::string path = stem + suffixes[j];
            const std::string text = announcements[j];
            catalogue.add(path, [text, j] { return speech(text, 2 + j % 2); });
            m_soundData.push_back(path);
        }
    }
}

int RouteSounds::stationSound(const std::string& station, int offset) const
{
    const auto it = std::find(m_stationNames.begin(), m_stationNames.end(), station);
    if (it == m_stationNames.end())
        throw std::logic_error("no sounds for station " + station);
    return static_cast<int>(EnvSound::count) + static_cast<int>(it - m_stationNames.begin()) * stationSoundsEach + offset;
}

int RouteSounds::arrivalAnnouncement(const std::string& station) const
{
    return stationSound(station, 0);
}

int RouteSounds::nextStopAnnouncement(const std::string& station) const
{
    return stationSound(station, 1);
}

int RouteSounds::approachAnnouncement(const std::string& station) const
{
    return stationSound(station, 2);
}

Callouts makeCallouts(const std::vector<int>& limitSpeeds, SoundCatalogue& catalogue)
{
    Callouts c;
    const auto voiceFile = [&catalogue](const std::string& stem, std::size_t k, const std::string& text) {
        const std::string path = "sound\\kanko\\" + stem + (k < 10 ? "0" : "") + std::to_string(k) + ".wav";
        catalogue.add(path, [text] { return speech(text, 0); });
        return path;
    };
    // By number: aspects, time differences in 15 s bands, late, early, on
    // time, doors closed, departure, high-speed clear. The voice reads kana only.
    const std::vector<std::string> fixedTexts = {
        "ていし", "けいかい", "ちゅうい", "げんそく", "しんこう", "ちゅうけい、せいげん",
        "さんじゅうびょう", "よんじゅうごびょう", "いっぷん", "いっぷんじゅうごびょう", "いっぷんさんじゅうびょう",
        "いっぷんよんじゅうごびょう", "にふん",
        "おくれ", "おくれです", "はやい", "はやいです", "ていじ", "ていじです",
        "とじめ、よし", "はっしゃ", "こうそくしんこう",
    };
    for (std::size_t k = 0; k < fixedTexts.size(); ++k)
        c.fixed.push_back(voiceFile("k", k, fixedTexts[k]));
    const std::vector<std::string> numberedTexts = {"しゅっぱつ", "じょうない", "へいそく", "ちゅうけい", "ていしいち、よし", "ふみきり、よし"};
    for (std::size_t k = 0; k < numberedTexts.size(); ++k)
        c.numbered.push_back(voiceFile("n", k, numberedTexts[k]));
    const std::vector<std::string> signTexts = {"じこく", "きてき、すいめい", "ていしゃじょう、せっきん"};
    for (std::size_t k = 0; k < signTexts.size(); ++k)
        c.signs.push_back(voiceFile("o", k, signTexts[k]));
    c.limits.push_back(voiceFile("l", 0, "せいげん"));
    for (std::size_t k = 0; k < limitSpeeds.size(); ++k)
        c.limits.push_back(voiceFile("l", k + 1, "せいげん、" + std::to_string(limitSpeeds[k])));
    return c;
}

}  // namespace cabdrive::demo
