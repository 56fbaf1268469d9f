// Synthesised sounds of the demo line: additive tones, filtered noise and envelopes, plus speech through espeak-ng.
#include "sound_synth.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <thread>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace cabdrive::demo {
namespace {

constexpr int sampleRate = 22050;  // Hz
constexpr double twoPi = 2 * std::numbers::pi;
constexpr double loopFadeSeconds = 0.05;  // crossfade that joins a loop's end to its start

using Signal = std::vector<double>;

std::size_t samplesFor(double seconds)
{
    return static_cast<std::size_t>(std::max(0.0, std::round(seconds * sampleRate)));
}

double timeOf(std::size_t sample)
{
    return static_cast<double>(sample) / sampleRate;
}

// xorshift64*: the same noise on every run and machine.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {}
    double next()  // uniform in [-1, 1)
    {
        m_state ^= m_state >> 12;
        m_state ^= m_state << 25;
        m_state ^= m_state >> 27;
        return static_cast<double>((m_state * 0x2545F4914F6CDD1Dull) >> 11) / 4503599627370496.0 - 1.0;
    }

private:
    std::uint64_t m_state;
};

// Second-order filter after the well-known audio cookbook formulas.
class Biquad {
public:
    static Biquad lowPass(double hz, double q) { return make(hz, q, 0); }
    static Biquad highPass(double hz, double q) { return make(hz, q, 1); }
    static Biquad bandPass(double hz, double q) { return make(hz, q, 2); }

    double operator()(double x)
    {
        const double y = m_b0 * x + m_b1 * m_x1 + m_b2 * m_x2 - m_a1 * m_y1 - m_a2 * m_y2;
        m_x2 = m_x1;
        m_x1 = x;
        m_y2 = m_y1;
        m_y1 = y;
        return y;
    }

private:
    static Biquad make(double hz, double q, int kind)
    {
        const double w = twoPi * std::min(hz, sampleRate * 0.45) / sampleRate;
        const double alpha = std::sin(w) / (2 * q), c = std::cos(w);
        const double a0 = 1 + alpha;
        Biquad f;
        if (kind == 0) {
            f.m_b0 = f.m_b2 = (1 - c) / 2 / a0;
            f.m_b1 = (1 - c) / a0;
        } else if (kind == 1) {
            f.m_b0 = f.m_b2 = (1 + c) / 2 / a0;
            f.m_b1 = -(1 + c) / a0;
        } else {
            f.m_b0 = alpha / a0;
            f.m_b1 = 0;
            f.m_b2 = -alpha / a0;
        }
        f.m_a1 = -2 * c / a0;
        f.m_a2 = (1 - alpha) / a0;
        return f;
    }

    double m_b0 = 1, m_b1 = 0, m_b2 = 0, m_a1 = 0, m_a2 = 0;
    double m_x1 = 0, m_x2 = 0, m_y1 = 0, m_y2 = 0;
};

// Filtered noise of a given length.
Signal noise(std::size_t count, std::uint64_t seed, Biquad filter)
{
    Random random(seed);
    Signal s(count);
    for (double& v : s)
        v = filter(random.next());
    return s;
}

void addInto(Signal& target, const Signal& source, double gain, std::size_t offset = 0)
{
    if (target.size() < offset + source.size())
        target.resize(offset + source.size());
    for (std::size_t i = 0; i < source.size(); ++i)
        target[offset + i] += source[i] * gain;
}

// One partial of a struck or blown sound: frequency ratio, level and decay time (s, 0: no decay).
struct Partial {
    double ratio, level, decay;
};

// A struck sound (bell, chime, click) starting at `start`, its partials decaying independently.
void strike(Signal& s, double start, double hz, std::initializer_list<Partial> partials, double level, double seconds)
{
    const std::size_t first = samplesFor(start);
    const std::size_t count = samplesFor(seconds);
    if (s.size() < first + count)
        s.resize(first + count);
    for (const Partial& p : partials) {
        const double w = twoPi * hz * p.ratio / sampleRate;
        for (std::size_t i = 0; i < count; ++i) {
            const double t = timeOf(i);
            const double attack = std::min(1.0, t / 0.002);
            s[first + i] += level * p.level * attack * std::exp(-t / p.decay) * std::sin(w * static_cast<double>(i));
        }
    }
}

// A burst of filtered noise with a fast attack and exponential decay.
void burst(Signal& s, double start, double seconds, double decay, Biquad filter, double level, std::uint64_t seed)
{
    Signal n = noise(samplesFor(seconds), seed, filter);
    for (std::size_t i = 0; i < n.size(); ++i) {
        const double t = timeOf(i);
        n[i] *= std::min(1.0, t / 0.003) * std::exp(-t / decay);
    }
    addInto(s, n, level, samplesFor(start));
}

// A held tone of harmonics with an envelope over its whole length (attack and release in s).
void sustained(Signal& s, double start, double seconds, double hz, std::initializer_list<Partial> partials, double level,
               double attack, double release)
{
    const std::size_t first = samplesFor(start), count = samplesFor(seconds);
    if (s.size() < first + count)
        s.resize(first + count);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = timeOf(i);
        const double envelope = std::min({1.0, t / attack, (seconds - t) / release});
        double v = 0;
        for (const Partial& p : partials)
            v += p.level * std::sin(twoPi * hz * p.ratio * t);
        s[first + i] += level * std::max(0.0, envelope) * v;
    }
}

// Scales to the given peak (dBFS), or lower where that would make it louder
// than rmsDb (when given, below 0), and converts to 16 bits.
Wave finish(const Signal& s, double peakDb = -3.0, double rmsDb = 0.0)
{
    double peak = 0, power = 0;
    for (const double v : s) {
        peak = std::max(peak, std::abs(v));
        power += v * v;
    }
    double gain = peak > 0 ? 32767.0 * std::pow(10.0, peakDb / 20) / peak : 0.0;
    if (rmsDb < 0 && power > 0)
        gain = std::min(gain, 32767.0 * std::pow(10.0, rmsDb / 20) / std::sqrt(power / static_cast<double>(s.size())));
    Wave wave;
    wave.sampleRate = sampleRate;
    wave.samples.reserve(s.size());
    for (const double v : s)
        wave.samples.push_back(static_cast<std::int16_t>(std::lround(std::clamp(v * gain, -32768.0, 32767.0))));
    return wave;
}

// A loop of `seconds` cut from a longer signal: the part after one loop's
// worth of warm-up (filters and echoes settled), whose end is crossfaded into
// its start so the repeat has no click. The source must be at least
// 2 x seconds + loopFadeSeconds long; loopSource() gives that length.
std::size_t loopSource(double seconds)
{
    return 2 * samplesFor(seconds) + samplesFor(loopFadeSeconds);
}

Wave finishLoop(const Signal& s, double seconds, double peakDb = -3.0, double rmsDb = 0.0)
{
    const std::size_t n = samplesFor(seconds), fade = samplesFor(loopFadeSeconds);
    Signal out(s.begin() + static_cast<std::ptrdiff_t>(n), s.begin() + static_cast<std::ptrdiff_t>(2 * n));
    for (std::size_t i = 0; i < fade; ++i) {
        const double x = std::numbers::pi / 2 * static_cast<double>(i) / static_cast<double>(fade);
        out[i] = out[i] * std::sin(x) + s[2 * n + i] * std::cos(x);
    }
    return finish(out, peakDb, rmsDb);
}

// Fades the first and last milliseconds so one-shot sounds start and stop silently.
void fadeEdges(Signal& s, double seconds = 0.004)
{
    const std::size_t n = std::min(samplesFor(seconds), s.size() / 2);
    for (std::size_t i = 0; i < n; ++i) {
        const double g = static_cast<double>(i) / static_cast<double>(n);
        s[i] *= g;
        s[s.size() - 1 - i] *= g;
    }
}

// A single wheel striking a rail joint or a crossing nose: a thump and a ring.
void wheelHit(Signal& s, double start, double level, std::uint64_t seed)
{
    strike(s, start, 95, {{1, 1.0, 0.05}, {2.7, 0.4, 0.03}}, level, 0.25);
    burst(s, start, 0.12, 0.02, Biquad::bandPass(900, 1.2), level * 3.0, seed);
    strike(s, start, 1450, {{1, 0.15, 0.06}, {1.63, 0.08, 0.04}}, level, 0.25);
}

// The rail-joint rhythm of one bogie pair at speed: ta-tan ... ta-tan.
void jointRhythm(Signal& s, double speedMs, double level, std::uint64_t seed)
{
    constexpr double railLengthM = 25.0, axleBaseM = 2.1, bogieGapM = 4.6;
    const double interval = railLengthM / speedMs;
    const double end = timeOf(s.size());
    int k = 0;
    for (double t = 0.1; t < end; t += interval, ++k) {
        for (const double offsetM : {0.0, axleBaseM, axleBaseM + bogieGapM, 2 * axleBaseM + bogieGapM})
            wheelHit(s, t + offsetM / speedMs, level * (offsetM < 1 ? 1.0 : 0.8), seed + static_cast<std::uint64_t>(k) * 8 +
                                                                                    static_cast<std::uint64_t>(offsetM * 10));
    }
}

// A noise whose loudness is slowly and randomly modulated (crowds, roars).
Signal modulatedNoise(std::size_t count, std::uint64_t seed, Biquad filter, double rateHz, double depth)
{
    Signal s = noise(count, seed, filter);
    Signal control = noise(count, seed + 1, Biquad::lowPass(rateHz, 0.7));
    double peak = 1e-9;
    for (const double v : control)
        peak = std::max(peak, std::abs(v));
    for (std::size_t i = 0; i < count; ++i)
        s[i] *= 1 - depth + depth * (0.5 + 0.5 * control[i] / peak);
    return s;
}

std::uint64_t hashText(const std::string& text)
{
    std::uint64_t h = 1469598103934665603ull;  // FNV-1a
    for (const unsigned char c : text)
        h = (h ^ c) * 1099511628211ull;
    return h;
}

// Reads a 16-bit PCM WAV (mono or the first channel); empty on any problem.
Wave readPcmWave(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto u32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24);
    };
    const auto u16 = [&](std::size_t at) { return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8); };
    Wave wave;
    wave.sampleRate = 0;
    if (bytes.size() < 12 || std::string(bytes.begin(), bytes.begin() + 4) != "RIFF" ||
        std::string(bytes.begin() + 8, bytes.begin() + 12) != "WAVE")
        return wave;
    int channels = 0, bits = 0;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::string id(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(at + 4));
        // espeak-ng streaming output may leave a too large size; trust the file's end.
        const std::size_t size = std::min<std::size_t>(u32(at + 4), bytes.size() - at - 8);
        if (id == "fmt " && size >= 16) {
            channels = u16(at + 10);
            wave.sampleRate = static_cast<int>(u32(at + 12));
            bits = u16(at + 22);
        } else if (id == "data" && channels > 0 && bits == 16) {
            const std::size_t frameBytes = 2 * static_cast<std::size_t>(channels);
            for (std::size_t i = 0; i + frameBytes <= size; i += frameBytes)
                wave.samples.push_back(static_cast<std::int16_t>(u16(at + 8 + i)));
        }
        at += 8 + size + (size & 1);
    }
    if (bits != 16 || wave.sampleRate <= 0)
        wave.samples.clear();
    return wave;
}

// Linear resampling to our rate; speech needs nothing better.
Signal resampled(const Wave& wave)
{
    const double step = static_cast<double>(wave.sampleRate) / sampleRate;
    const auto count = static_cast<std::size_t>(static_cast<double>(wave.samples.size()) / step);
    Signal s(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double x = static_cast<double>(i) * step;
        const auto j = static_cast<std::size_t>(x);
        const double f = x - static_cast<double>(j);
        const double a = wave.samples[j];
        const double b = j + 1 < wave.samples.size() ? wave.samples[j + 1] : a;
        s[i] = a + (b - a) * f;
    }
    return s;
}

// Runs espeak-ng without a shell; empty when it is missing or fails. The
// text goes through a file so that no text can be taken for an option.
Signal espeak(const std::string& text, int voice)
{
    const std::string stem = "cabdrive-speech-" + std::to_string(::getpid()) + "-" +
                             std::to_string(std::hash<std::thread::id>{}(std::this_thread::get_id())) + "-" +
                             std::to_string(hashText(text) ^ static_cast<std::uint64_t>(voice));
    const std::filesystem::path file = std::filesystem::temp_directory_path() / (stem + ".wav");
    const std::filesystem::path textFile = std::filesystem::temp_directory_path() / (stem + ".txt");
    std::ofstream(textFile, std::ios::binary) << text;
    const std::string voiceName = voice % 2 == 0 ? "ja" : "ja+f3";
    const std::string pitch = std::to_string(40 + 12 * (voice % 3));
    std::vector<std::string> args{"espeak-ng", "-v", voiceName, "-s",          "150",
                                  "-p",        pitch, "-w",      file.string(), "-f", textFile.string()};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, "espeak-ng", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    Signal result;
    if (spawned == 0) {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
            const Wave wave = readPcmWave(file);
            if (!wave.samples.empty())
                result = resampled(wave);
        }
    }
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    std::filesystem::remove(textFile, ignored);
    return result;
}

// Without a speech engine: a short chirped tone per character, pitch from the character.
Signal toneSpeech(const std::string& text, int voice)
{
    Signal s;
    double t = 0.05;
    std::uint32_t codePoint = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const auto c = i < text.size() ? static_cast<unsigned char>(text[i]) : 0u;
        if (i < text.size() && (c & 0xC0) == 0x80) {
            codePoint = codePoint << 6 | (c & 0x3F);
            continue;
        }
        if (codePoint != 0) {
            const double hz = (voice % 2 == 0 ? 180.0 : 260.0) * std::pow(2.0, static_cast<double>(codePoint % 12) / 12);
            sustained(s, t, 0.13, hz, {{1, 1.0, 0}, {2, 0.4, 0}, {3, 0.2, 0}}, 0.5, 0.01, 0.03);
            t += 0.16;
        }
        codePoint = c;
    }
    if (s.empty())
        s.assign(samplesFor(0.2), 0.0);
    return s;
}

}  // namespace

Wave runningBand(int band, int bandCount)
{
    const int top = std::max(1, bandCount - 1);
    const double speedKmh = band * 10.0 + 5.0;  // the middle of the band's speed range
    const double speedMs = speedKmh / 3.6;
    const double loudness = 0.25 + 0.75 * std::min(1.0, static_cast<double>(band) / top);
    const std::size_t count = loopSource(2.0);
    const auto seed = static_cast<std::uint64_t>(100 + band);
    // Rolling rumble, brighter and stronger with speed.
    Signal s = modulatedNoise(count, seed, Biquad::lowPass(120 + 25 * band, 0.9), 3.0, 0.3);
    addInto(s, noise(count, seed + 50, Biquad::bandPass(500 + 90 * band, 0.8)), 0.15 + 0.05 * band);
    addInto(s, noise(count, seed + 60, Biquad::highPass(2500, 0.7)), 0.01 * band);
    for (double& v : s)
        v *= 0.6;
    if (band > 0)
        jointRhythm(s, speedMs, 0.5, seed + 1000);
    s.resize(count);
    // Loudness set by power, not by peak: the joint clicks would otherwise make
    // the slow bands louder than the fast ones.
    return finishLoop(s, 2.0, -3.0, -19.0 + 20 * std::log10(loudness));
}

Wave motorWhine(double pitchHz)
{
    // Whole hertz so that every partial completes its cycles within the 1 s loop.
    const double hz = std::max(20.0, std::round(pitchHz));
    const std::size_t count = loopSource(1.0);
    Signal s(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = timeOf(i);
        s[i] = std::sin(twoPi * hz * t) + 0.45 * std::sin(twoPi * 2 * hz * t + 0.3) + 0.3 * std::sin(twoPi * 3 * hz * t) +
               0.12 * std::sin(twoPi * 6 * hz * t + 1.0) +
               // the inverter's switching tone a little above, beating slowly against the motor
               0.18 * std::sin(twoPi * (4 * hz + 3) * t);
    }
    addInto(s, noise(count, 200, Biquad::bandPass(hz * 2, 2.0)), 0.6);
    return finishLoop(s, 1.0);
}

Wave airConditioningHum()
{
    // The fans' mains hum with its harmonics and a breath of moving air, kept
    // low: it runs under every other sound between two stations.
    constexpr double mainsHz = 100;
    const std::size_t count = loopSource(2.0);
    Signal s(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = timeOf(i);
        s[i] = std::sin(twoPi * mainsHz * t) + 0.3 * std::sin(twoPi * 2 * mainsHz * t) + 0.1 * std::sin(twoPi * 3 * mainsHz * t);
    }
    addInto(s, noise(count, 400, Biquad::lowPass(900, 0.7)), 0.5);
    return finishLoop(s, 2.0, -11.5);
}

Wave dieselEngine(double firingHz)
{
    const double hz = std::max(2.0, std::round(firingHz));
    const std::size_t count = loopSource(1.0);
    Signal s = noise(count, 300, Biquad::lowPass(400, 0.7));
    for (double& v : s)
        v *= 0.15;
    // One firing pulse per cycle; the cylinders differ a little in strength.
    const double cylinderLevels[6] = {1.0, 0.82, 0.93, 0.76, 0.97, 0.85};
    int k = 0;
    for (double t = 0; t < timeOf(count); t += 1.0 / hz, ++k) {
        const double level = cylinderLevels[k % 6];
        strike(s, t, 38, {{1, 1.0, 0.03}, {2, 0.7, 0.025}, {3.1, 0.4, 0.015}, {5.2, 0.2, 0.01}}, level, 0.15);
        burst(s, t, 0.08, 0.012, Biquad::bandPass(700, 1.0), level * 1.2, 310 + static_cast<std::uint64_t>(k));
    }
    s.resize(count);
    return finishLoop(s, 1.0);
}

Wave airExhaust(double seconds)
{
    seconds = std::max(0.1, seconds);
    const std::size_t count = samplesFor(seconds);
    Random random(400);
    Biquad high = Biquad::highPass(1200, 0.7), band = Biquad::bandPass(3200, 0.9);
    Signal s(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = timeOf(i);
        // The cylinder pressure falls roughly exponentially; the hiss follows it.
        const double envelope = std::min(1.0, t / 0.02) * std::exp(-4.0 * t / seconds);
        const double x = random.next();
        s[i] = envelope * (0.6 * high(x) + 0.8 * band(x));
    }
    fadeEdges(s, 0.01);
    return finish(s);
}

Wave airApply(double seconds)
{
    seconds = std::max(0.05, seconds);
    Signal s;
    burst(s, 0, seconds, seconds / 3, Biquad::bandPass(1800, 0.8), 1.0, 410);
    burst(s, 0, seconds, seconds / 5, Biquad::lowPass(300, 0.7), 0.8, 411);
    s.resize(samplesFor(seconds));
    fadeEdges(s, 0.01);
    return finish(s, -6.0);
}

Wave brakeSqueal()
{
    const std::size_t count = loopSource(1.0);
    Signal s(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = timeOf(i);
        // The shoe's resonance wanders a little; integer rates keep the loop whole.
        const double phase = twoPi * 2780 * t - 18 / 3.0 * std::cos(twoPi * 3 * t) - 7 / 7.0 * std::cos(twoPi * 7 * t + 1);
        s[i] = (0.8 + 0.2 * std::sin(twoPi * 5 * t)) * (std::sin(phase) + 0.25 * std::sin(2 * phase));
    }
    addInto(s, noise(count, 500, Biquad::bandPass(2780, 4)), 0.8);
    return finishLoop(s, 1.0, -4.0);
}

namespace {

// The compressor's pistons: a thump per stroke at the given rate over the signal.
void compressorStrokes(Signal& s, double startHz, double endHz, std::uint64_t seed)
{
    const double seconds = timeOf(s.size());
    int k = 0;
    for (double t = 0.02; t < seconds; ++k) {
        const double hz = startHz + (endHz - startHz) * t / seconds;
        strike(s, t, 70, {{1, 1.0, 0.04}, {2.3, 0.5, 0.02}}, 0.5, 0.12);
        burst(s, t, 0.06, 0.015, Biquad::bandPass(1100, 1.5), 0.4, seed + static_cast<std::uint64_t>(k));
        t += 1.0 / hz;
    }
}

// The compressor's electric motor hum, speed from 0 to 1.
void motorHum(Signal& s, double fromSpeed, double toSpeed)
{
    double phase = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double speed = fromSpeed + (toSpeed - fromSpeed) * static_cast<double>(i) / static_cast<double>(s.size());
        phase += twoPi * 100 * speed / sampleRate;
        s[i] += 0.25 * speed * (std::sin(phase) + 0.4 * std::sin(2 * phase) + 0.2 * std::sin(3 * phase));
    }
}

constexpr double compressorStrokeHz = 12.0;

}  // namespace

Wave compressorStart()
{
    Signal s(samplesFor(1.5));
    motorHum(s, 0.1, 1.0);
    compressorStrokes(s, 3.0, compressorStrokeHz, 600);
    s.resize(samplesFor(1.5));
    fadeEdges(s);
    return finish(s);
}

Wave compressorRun()
{
    Signal s(loopSource(2.0));
    motorHum(s, 1.0, 1.0);
    compressorStrokes(s, compressorStrokeHz, compressorStrokeHz, 610);
    s.resize(loopSource(2.0));
    return finishLoop(s, 2.0);
}

Wave compressorEnd()
{
    Signal s(samplesFor(1.6));
    motorHum(s, 1.0, 0.0);
    compressorStrokes(s, compressorStrokeHz, 2.0, 620);
    // The unloader valve blows off at the end.
    burst(s, 0.9, 0.7, 0.18, Biquad::highPass(1500, 0.7), 0.5, 621);
    s.resize(samplesFor(1.6));
    fadeEdges(s);
    return finish(s);
}

namespace {

// A two-tone air horn (both tones whole multiples of 2 Hz so its 0.5 s sustain loops).
constexpr double hornLowHz = 370.0, hornHighHz = 466.0;

// The horn's reeds: a bright buzzy tone; `bend` is the pitch factor at each sample's time.
template <typename Envelope, typename Bend>
Signal hornTone(std::size_t count, double lowHz, double highHz, Envelope envelope, Bend bend, std::uint64_t seed)
{
    Signal s(count);
    double phaseLow = 0, phaseHigh = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const double t = timeOf(i);
        phaseLow += twoPi * lowHz * bend(t) / sampleRate;
        phaseHigh += twoPi * highHz * bend(t) / sampleRate;
        double v = 0;
        for (int h = 1; h <= 8; ++h)
            v += (std::sin(h * phaseLow) + 0.9 * std::sin(h * phaseHigh)) / (h * 0.8 + 0.2);
        s[i] = envelope(t) * v;
    }
    addInto(s, noise(count, seed, Biquad::bandPass(2000, 0.8)), 0.3);
    return s;
}

}  // namespace

Wave hornPart(int part)
{
    const auto steady = [](double) { return 1.0; };
    switch (part) {
    case 0: {  // attack: the pitch rises as the air pressure builds, ending at full sound
        const double seconds = 0.25;
        Signal s = hornTone(
            samplesFor(seconds), hornLowHz, hornHighHz, [&](double t) { return std::min(1.0, t / 0.12); },
            [&](double t) { return 0.9 + 0.1 * std::min(1.0, t / 0.18); }, 700);
        return finish(s);
    }
    case 1: {  // sustain, loopable
        Signal s = hornTone(loopSource(0.5), hornLowHz, hornHighHz, steady, steady, 701);
        return finishLoop(s, 0.5);
    }
    case 2: {  // release: the tone sags and dies
        const double seconds = 0.35;
        Signal s = hornTone(
            samplesFor(seconds), hornLowHz, hornHighHz, [&](double t) { return std::exp(-t / 0.08); },
            [&](double t) { return 1.0 - 0.08 * t / seconds; }, 702);
        fadeEdges(s, 0.01);
        return finish(s);
    }
    default: {  // a short blast of a second, lower horn
        const double seconds = 0.6;
        Signal s = hornTone(
            samplesFor(seconds), 311.0, 392.0,
            [&](double t) { return std::min({1.0, t / 0.05, (seconds - t) / 0.1}); },
            [&](double t) { return 0.94 + 0.06 * std::min(1.0, t / 0.08); }, 703);
        fadeEdges(s, 0.01);
        return finish(s);
    }
    }
}

Wave whistle()
{
    const double seconds = 0.9;
    Signal s;
    sustained(s, 0, seconds, 1046, {{1, 1.0, 0}, {2, 0.2, 0}}, 1.0, 0.03, 0.12);
    sustained(s, 0, seconds, 1318, {{1, 0.8, 0}, {2, 0.15, 0}}, 1.0, 0.03, 0.12);
    burst(s, 0, seconds, 0.5, Biquad::bandPass(3000, 1.0), 0.15, 800);
    s.resize(samplesFor(seconds));
    fadeEdges(s);
    return finish(s);
}

Wave buzzer()
{
    const std::size_t count = loopSource(1.0);
    Signal s(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = timeOf(i);
        // A square-ish 400 Hz tone rattled by the 50 Hz mains.
        double v = 0;
        for (int h = 1; h <= 9; h += 2)
            v += std::sin(twoPi * 400 * h * t) / h;
        s[i] = v * (0.7 + 0.3 * std::sin(twoPi * 50 * t));
    }
    return finishLoop(s, 1.0, -4.0);
}

Wave bell()
{
    // An electric bell: the hammer strikes 16 times a second.
    Signal s(loopSource(1.0));
    const double end = timeOf(s.size());
    for (double t = 0.01; t < end; t += 1.0 / 16)
        strike(s, t, 2093, {{1, 1.0, 0.09}, {1.52, 0.5, 0.06}, {2.41, 0.3, 0.04}, {3.3, 0.15, 0.03}}, 1.0, 0.3);
    s.resize(loopSource(1.0));
    return finishLoop(s, 1.0);
}

Wave chime()
{
    Signal s;
    strike(s, 0.0, 1318.5, {{1, 1.0, 0.5}, {2.0, 0.3, 0.25}, {3.0, 0.1, 0.15}}, 1.0, 1.0);
    strike(s, 0.45, 987.8, {{1, 1.0, 0.6}, {2.0, 0.3, 0.3}, {3.0, 0.1, 0.15}}, 1.0, 1.3);
    fadeEdges(s);
    return finish(s);
}

Wave tone(double hz, double seconds)
{
    Signal s;
    sustained(s, 0, std::max(0.01, seconds), hz, {{1, 1.0, 0}}, 1.0, 0.005, 0.005);
    return finish(s);
}

namespace {

// A sliding door: the air cylinder's hiss, the door running, and the stop.
Wave door(bool closing)
{
    const double seconds = closing ? 2.2 : 1.8;
    Signal s(samplesFor(seconds));
    burst(s, 0, 0.4, 0.12, Biquad::highPass(1500, 0.7), 0.6, closing ? 901 : 900);
    Signal slide = modulatedNoise(samplesFor(1.2), closing ? 903 : 902, Biquad::bandPass(260, 1.2), 12, 0.6);
    for (std::size_t i = 0; i < slide.size(); ++i)
        slide[i] *= std::sin(std::numbers::pi * static_cast<double>(i) / static_cast<double>(slide.size()));
    addInto(s, slide, 1.2, samplesFor(0.15));
    // The doors meet (closing) or reach their stops (opening).
    const double end = 1.35;
    strike(s, end, closing ? 85 : 120, {{1, 1.0, 0.08}, {2.6, 0.5, 0.05}, {4.1, 0.2, 0.03}}, closing ? 1.2 : 0.6, 0.5);
    burst(s, end, 0.1, 0.02, Biquad::bandPass(1200, 1.0), closing ? 1.0 : 0.5, closing ? 905 : 904);
    s.resize(samplesFor(seconds));
    fadeEdges(s);
    return finish(s);
}

// A bell-like melody note for the platform melodies.
void melodyNote(Signal& s, double start, double hz, double seconds)
{
    strike(s, start, hz, {{1, 1.0, 0.6}, {2, 0.35, 0.35}, {3, 0.15, 0.2}, {4.2, 0.08, 0.1}}, 1.0, seconds + 0.6);
}

// A simple room: a few decaying echoes, as under a platform roof.
void addEcho(Signal& s, double delaySeconds, double feedback)
{
    const std::size_t delay = samplesFor(delaySeconds);
    for (std::size_t i = delay; i < s.size(); ++i)
        s[i] += s[i - delay] * feedback;
}

// Semitones above A3 (220 Hz).
double pitchOf(int semitones)
{
    return 220.0 * std::pow(2.0, semitones / 12.0);
}

}  // namespace

Wave doorOpen()
{
    return door(false);
}

Wave doorClose()
{
    return door(true);
}

Wave notchClick(bool brakeHandle)
{
    Signal s;
    burst(s, 0, 0.05, 0.004, Biquad::bandPass(brakeHandle ? 2200 : 3200, 1.5), 1.0, brakeHandle ? 1001 : 1000);
    strike(s, 0, brakeHandle ? 420 : 650, {{1, 0.6, 0.015}, {2.7, 0.3, 0.01}}, 1.0, 0.08);
    s.resize(samplesFor(0.08));
    fadeEdges(s, 0.002);
    return finish(s, -6.0);
}

Wave departureMelody(int variant)
{
    // Four short tunes in a major key; note pitch in semitones above A3 and length in beats, 0 for a rest.
    struct Note {
        int pitch;
        double beats;
    };
    static constexpr Note tunes[4][16] = {
        {{3, 1}, {7, 1}, {10, 1}, {15, 2}, {12, 1}, {10, 1}, {7, 2}, {8, 1}, {12, 1}, {15, 1}, {19, 2}, {15, 1}, {12, 1}, {15, 4}, {0, 0}, {0, 0}},
        {{10, 1}, {12, 1}, {14, 1}, {17, 1}, {19, 2}, {17, 1}, {14, 1}, {12, 2}, {10, 1}, {12, 1}, {14, 2}, {7, 2}, {10, 4}, {0, 0}, {0, 0}, {0, 0}},
        {{15, 2}, {14, 1}, {12, 1}, {10, 2}, {7, 2}, {8, 1}, {10, 1}, {12, 1}, {14, 1}, {15, 2}, {19, 2}, {22, 4}, {0, 0}, {0, 0}, {0, 0}, {0, 0}},
        {{5, 1}, {9, 1}, {12, 1}, {9, 1}, {14, 1}, {12, 1}, {9, 1}, {5, 1}, {7, 1}, {10, 1}, {14, 1}, {12, 1}, {17, 4}, {0, 0}, {0, 0}, {0, 0}},
    };
    const double beat = 0.3;  // s
    const int tune = ((variant % 4) + 4) % 4;
    Signal s;
    double t = 0.05;
    for (const Note& note : tunes[tune]) {
        if (note.beats <= 0)
            break;
        melodyNote(s, t, pitchOf(note.pitch), note.beats * beat);
        // a soft accompaniment an octave and a fifth below on the long notes
        if (note.beats >= 2)
            melodyNote(s, t, pitchOf(note.pitch - 19), note.beats * beat);
        t += note.beats * beat;
    }
    s.resize(samplesFor(t + 0.8));
    addEcho(s, 0.11, 0.3);
    fadeEdges(s, 0.3);
    return finish(s);
}

Wave arrivalChime()
{
    Signal s;
    melodyNote(s, 0.05, pitchOf(19), 0.5);
    melodyNote(s, 0.55, pitchOf(15), 0.5);
    melodyNote(s, 1.05, pitchOf(10), 0.9);
    addEcho(s, 0.09, 0.25);
    fadeEdges(s, 0.2);
    return finish(s);
}

Wave stationAmbience(int variant)
{
    const std::size_t count = loopSource(3.0);
    const auto seed = 1200 + static_cast<std::uint64_t>(variant) * 37;
    // Voices: several formant bands, each coming and going at a syllable rate.
    Signal s(count);
    const double formants[] = {350, 600, 900, 1400, 2300};
    for (int k = 0; k < 5; ++k)
        addInto(s, modulatedNoise(count, seed + static_cast<std::uint64_t>(k) * 2, Biquad::bandPass(formants[k] * (1 + 0.05 * variant), 3.0), 4.0 + k, 0.9),
                1.0 / (1 + k * 0.4));
    addInto(s, noise(count, seed + 20, Biquad::lowPass(150, 0.7)), 0.6);
    // Footsteps here and there.
    Random random(seed + 30);
    for (double t = 0.1; t < timeOf(count); t += 0.35 + 0.3 * std::abs(random.next()))
        burst(s, t, 0.05, 0.01, Biquad::bandPass(1500, 2.0), 0.3, seed + static_cast<std::uint64_t>(t * 100));
    s.resize(count);
    return finishLoop(s, 3.0, -9.0);
}

Wave crossingBell()
{
    // Two electronic bells struck in turn, about two strikes a second each.
    Signal s(loopSource(1.0));
    const double end = timeOf(s.size());
    for (double t = 0.1; t < end; t += 0.5) {
        strike(s, t, 740, {{1, 1.0, 0.22}, {2.76, 0.45, 0.12}, {5.4, 0.2, 0.06}}, 1.0, 0.6);
        strike(s, t + 0.25, 700, {{1, 1.0, 0.22}, {2.76, 0.45, 0.12}, {5.4, 0.2, 0.06}}, 0.8, 0.6);
    }
    s.resize(loopSource(1.0));
    return finishLoop(s, 1.0);
}

Wave pointsClack()
{
    // Two bogies crossing the nose of a frog and the switch rail joints.
    Signal s;
    const double hits[] = {0.0, 0.09, 0.55, 0.64, 1.0, 1.09};
    for (std::size_t k = 0; k < std::size(hits); ++k)
        wheelHit(s, 0.02 + hits[k], k % 2 == 0 ? 1.0 : 0.8, 1300 + k);
    s.resize(samplesFor(1.5));
    fadeEdges(s);
    return finish(s);
}

Wave tunnelRoar()
{
    const std::size_t count = loopSource(2.0);
    Signal s = modulatedNoise(count, 1400, Biquad::lowPass(220, 1.2), 2.0, 0.4);
    addInto(s, noise(count, 1401, Biquad::bandPass(65, 6)), 2.0);  // the tube's own resonance
    addInto(s, noise(count, 1402, Biquad::bandPass(800, 0.7)), 0.25);
    return finishLoop(s, 2.0);
}

Wave speech(const std::string& utf8Text, int voice)
{
    Signal s = espeak(utf8Text, voice);
    if (s.empty())
        s = toneSpeech(utf8Text, voice);
    return finish(s);
}

Wave titleJingle()
{
    // A rising major arpeggio over a held chord.
    Signal s;
    const int arpeggio[] = {3, 7, 10, 15, 19, 22};
    for (std::size_t k = 0; k < std::size(arpeggio); ++k)
        melodyNote(s, 0.05 + 0.14 * static_cast<double>(k), pitchOf(arpeggio[k]), 0.3);
    for (const int note : {15, 19, 22, 27})
        melodyNote(s, 0.95, pitchOf(note), 1.6);
    s.resize(samplesFor(3.2));
    addEcho(s, 0.13, 0.3);
    fadeEdges(s, 0.4);
    return finish(s);
}

Wave mixLayers(const std::vector<SoundLayer>& layers, double seconds)
{
    Signal s(samplesFor(seconds));
    for (const SoundLayer& layer : layers) {
        if (layer.wave == nullptr || layer.wave->samples.empty())
            continue;
        const std::vector<std::int16_t>& source = layer.wave->samples;
        const std::size_t first = samplesFor(layer.startSeconds);
        for (std::size_t i = first; i < s.size(); ++i) {
            const std::size_t j = i - first;
            if (!layer.looped && j >= source.size())
                break;
            double gain = layer.gain;
            if (layer.fadeToSeconds > layer.fadeFromSeconds)
                gain *= std::clamp((layer.fadeToSeconds - timeOf(i)) / (layer.fadeToSeconds - layer.fadeFromSeconds), 0.0, 1.0);
            s[i] += gain * source[j % source.size()];
        }
    }
    return finish(s);
}

}  // namespace cabdrive::demo
