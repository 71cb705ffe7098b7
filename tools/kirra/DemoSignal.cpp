#include "kirra/DemoSignal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace host {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTempo = 120.0;

class Noise {
  public:
    explicit Noise(uint32_t seed) : state_(seed != 0 ? seed : 1) {}
    // Uniform in -1..1.
    float next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<float>(state_) / 2147483648.0f - 1.0f;
    }

  private:
    uint32_t state_;
};

void addKick(AudioBuffer& buffer, size_t start) {
    const double sr = buffer.sampleRate;
    double phase = 0.0;
    size_t length = static_cast<size_t>(0.35 * sr);
    for (size_t i = 0; i < length && start + i < buffer.frames(); ++i) {
        double t = i / sr;
        double frequency = 45.0 + 75.0 * std::exp(-t / 0.03);
        phase += 2.0 * kPi * frequency / sr;
        float sample = static_cast<float>(0.9 * std::sin(phase) * std::exp(-t / 0.12));
        buffer.channels[0][start + i] += sample;
        buffer.channels[1][start + i] += sample;
    }
}

void addSnare(AudioBuffer& buffer, size_t start, Noise& noise) {
    const double sr = buffer.sampleRate;
    size_t length = static_cast<size_t>(0.25 * sr);
    for (size_t i = 0; i < length && start + i < buffer.frames(); ++i) {
        double t = i / sr;
        double tone = 0.3 * std::sin(2.0 * kPi * 185.0 * t) * std::exp(-t / 0.04);
        double body = 0.45 * noise.next() * std::exp(-t / 0.07);
        buffer.channels[0][start + i] += static_cast<float>(tone + body * 0.9);
        buffer.channels[1][start + i] += static_cast<float>(tone + body);
    }
}

void addHat(AudioBuffer& buffer, size_t start, Noise& noise) {
    const double sr = buffer.sampleRate;
    size_t length = static_cast<size_t>(0.06 * sr);
    float previous = 0.0f;
    for (size_t i = 0; i < length && start + i < buffer.frames(); ++i) {
        double t = i / sr;
        float white = noise.next();
        float high = white - previous;  // a first difference leaves mostly the top octaves
        previous = white;
        float sample = static_cast<float>(0.12 * high * std::exp(-t / 0.015));
        buffer.channels[0][start + i] += 0.7f * sample;
        buffer.channels[1][start + i] += sample;
    }
}

// A soft band-limited sawtooth chord, slightly detuned between the channels.
void addChord(AudioBuffer& buffer, size_t start, size_t length, const double (&notes)[3]) {
    const double sr = buffer.sampleRate;
    for (size_t i = 0; i < length && start + i < buffer.frames(); ++i) {
        double t = i / sr;
        double envelope = std::min(1.0, t / 0.08) * std::exp(-t / 2.5);
        double left = 0.0;
        double right = 0.0;
        for (double note : notes) {
            double frequency = 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
            for (int harmonic = 1; harmonic <= 8 && harmonic * frequency < 0.45 * sr; ++harmonic) {
                left += std::sin(2.0 * kPi * harmonic * frequency * 0.998 * t) / harmonic;
                right += std::sin(2.0 * kPi * harmonic * frequency * 1.002 * t) / harmonic;
            }
        }
        buffer.channels[0][start + i] += static_cast<float>(0.05 * envelope * left);
        buffer.channels[1][start + i] += static_cast<float>(0.05 * envelope * right);
    }
}

void addSweep(AudioBuffer& buffer) {
    const double sr = buffer.sampleRate;
    const double duration = buffer.frames() / sr;
    const double low = 40.0;
    const double high = std::min(16000.0, 0.45 * sr);
    const double rate = std::log(high / low) / duration;
    for (size_t i = 0; i < buffer.frames(); ++i) {
        double t = i / sr;
        double phase = 2.0 * kPi * low * (std::exp(rate * t) - 1.0) / rate;
        float sample = static_cast<float>(0.06 * std::sin(phase));
        buffer.channels[0][i] += sample;
        buffer.channels[1][i] += sample;
    }
}

void normalise(AudioBuffer& buffer, double peakDb) {
    float peak = 0.0f;
    for (const auto& channel : buffer.channels) {
        for (float sample : channel)
            peak = std::max(peak, std::fabs(sample));
    }
    if (peak <= 0.0f) return;
    float gain = static_cast<float>(std::pow(10.0, peakDb / 20.0) / peak);
    for (auto& channel : buffer.channels) {
        for (float& sample : channel)
            sample *= gain;
    }
}

}  // namespace

AudioBuffer makeDemoSignal(double sampleRate, double seconds) {
    AudioBuffer buffer;
    buffer.sampleRate = sampleRate;
    buffer.resize(2, static_cast<size_t>(seconds * sampleRate));
    Noise noise(12345);
    const double beat = 60.0 / kTempo;
    const int beats = static_cast<int>(seconds / beat);
    for (int b = 0; b < beats; ++b) {
        size_t start = static_cast<size_t>(b * beat * sampleRate);
        if (b % 2 == 0) addKick(buffer, start);
        if (b % 2 == 1) addSnare(buffer, start, noise);
        addHat(buffer, start, noise);
        addHat(buffer, start + static_cast<size_t>(0.5 * beat * sampleRate), noise);
    }
    // A minor, F major, C major, G major: one chord a bar.
    const double chords[4][3] = {{57, 60, 64}, {53, 57, 60}, {48, 52, 55}, {55, 59, 62}};
    const size_t bar = static_cast<size_t>(4 * beat * sampleRate);
    for (int b = 0; b * bar < buffer.frames(); ++b)
        addChord(buffer, b * bar, bar, chords[b % 4]);
    addSweep(buffer);
    normalise(buffer, -6.0);
    return buffer;
}

AudioBuffer makeNoiseSignal(double sampleRate, double seconds, unsigned seed) {
    AudioBuffer buffer;
    buffer.sampleRate = sampleRate;
    buffer.resize(2, static_cast<size_t>(seconds * sampleRate));
    Noise noise(seed);
    for (size_t i = 0; i < buffer.frames(); ++i) {
        double t = i / sampleRate;
        double tone =
            0.3 * std::sin(2.0 * kPi * 220.0 * t) + 0.2 * std::sin(2.0 * kPi * 1375.0 * t);
        buffer.channels[0][i] = static_cast<float>(tone + 0.25 * noise.next());
        buffer.channels[1][i] = static_cast<float>(tone + 0.25 * noise.next());
    }
    return buffer;
}

}  // namespace host
