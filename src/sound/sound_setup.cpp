// The sound set-up of a run.
#include "sound/sound_setup.h"

#include <span>

#include "common/load_error.h"
#include "common/paths.h"
#include "common/rounding.h"
#include "state/channel_layout.h"
#include "state/run.h"

namespace cabdrive {
namespace {

WaveFile loadWaveOrFail(SoundDevice& sound, const std::string& path)
{
    WaveFile wave = sound.loadWave(path);
    if (!wave.error.empty())
        throw LoadError(path + ": " + wave.error);
    return wave;
}

// An empty entry is no sound: nothing to read.
void loadEach(SoundDevice& sound, const std::string& folder, const auto& files, const auto& fileOf)
{
    for (const auto& entry : files) {
        const std::string& file = fileOf(entry);
        if (!file.empty())
            loadWaveOrFail(sound, joinPath(folder, file));
    }
}

const std::string& itself(const std::string& file)
{
    return file;
}

void assign(SoundDevice& sound, std::size_t channel, const std::string& folder, const std::string& file)
{
    if (file.empty())
        return;
    const std::string path = joinPath(folder, file);
    if (!sound.load(channel, path))
        loadWaveOrFail(sound, path);  // says why
}

}  // namespace

void loadRunningSounds(Run& run, const std::string& vehicleFolder)
{
    loadEach(run.sound, vehicleFolder, run.vehicle.driveSounds, itself);
}

std::vector<std::int32_t> loadEnvironmentSounds(Run& run)
{
    std::vector<std::int32_t> seconds;
    seconds.reserve(run.route.soundData.size());
    for (const std::string& file : run.route.soundData) {
        if (file.empty()) {
            seconds.push_back(0);
            continue;
        }
        // The decoded length, whatever the header claims: a streamed WAV
        // declares 0xFFFFFFFF bytes of data, which would read as a day.
        const WaveFile wave = loadWaveOrFail(run.sound, joinPath(run.route.programFolder, file));
        const long double length = wave.sampleRate > 0 ? static_cast<long double>(wave.frames) / wave.sampleRate : 0;
        seconds.push_back(saturateInt32(roundTiesEven(length)));
    }
    return seconds;
}

void loadCalloutsAndEngineSounds(Run& run, const std::string& vehicleFolder)
{
    const RouteData& route = run.route;
    const auto voiceFile = [](const KankoVoice& voice) -> const std::string& { return voice.file; };
    const std::span<const KankoVoice> voices(route.kankoVoices.data(), fixedKankoCount + route.kankoSound2Count);
    loadEach(run.sound, route.programFolder, voices, voiceFile);
    loadEach(run.sound, route.programFolder, route.otherKankos, itself);
    loadEach(run.sound, route.programFolder, route.limitKankos, itself);
    const auto rowFile = [](const auto& row) -> const std::string& { return row.file; };
    loadEach(run.sound, vehicleFolder, run.vehicle.engineSound1, rowFile);
    loadEach(run.sound, vehicleFolder, run.vehicle.engineSound3, rowFile);
}

void assignSoundChannels(Run& run, const std::string& vehicleFolder)
{
    const VehicleSpec& v = run.vehicle;
    const RouteData& route = run.route;
    for (std::size_t p = 0; p < v.driveSounds.size(); ++p)
        assign(run.sound, runningSoundChannel(p), vehicleFolder, v.driveSounds[p]);
    for (std::size_t k = 0; k < route.soundData.size(); ++k)
        assign(run.sound, environmentChannel(v, static_cast<std::int32_t>(k)), route.programFolder, route.soundData[k]);
    for (std::size_t j = 0; j < v.engineSound1.size(); ++j)
        assign(run.sound, engineSound1Channel(v, route, j), vehicleFolder, v.engineSound1[j].file);
    for (std::size_t j = 0; j < v.engineSound3.size(); ++j)
        assign(run.sound, engineSound3Channel(v, route, j), vehicleFolder, v.engineSound3[j].file);
}

// The last step of the sound set-up: every channel silent, and the
// emergency-brake lamp, lit while the cab pictures were made, dark.
void resetSounds(Run& run)
{
    for (std::size_t channel = 0; channel < run.sound.channelCount(); ++channel) {
        if (run.sound.holdsSound(channel))
            run.sound.stop(channel);
    }
    run.scene.setVisible("img_Lamp_EB", false);
}

}  // namespace cabdrive
