#include "support/Signals.h"

#include <algorithm>
#include <cstdint>

namespace testing_support {

std::vector<float> sine(double frequency, double sampleRate, size_t frames, double amplitude) {
    std::vector<float> signal(frames);
    for (size_t i = 0; i < frames; ++i) {
        signal[i] =
            static_cast<float>(amplitude * std::sin(2.0 * kPi * frequency * i / sampleRate));
    }
    return signal;
}

std::vector<float> impulse(size_t frames, size_t at, float height) {
    std::vector<float> signal(frames, 0.0f);
    if (at < frames) signal[at] = height;
    return signal;
}

Stereo stereo(const std::vector<float>& both) {
    return Stereo(both, both);
}

Stereo slice(const Stereo& signal, size_t from, size_t to) {
    to = std::min(to, signal.frames());
    from = std::min(from, to);
    return Stereo({signal.left.data() + from, signal.left.data() + to},
                  {signal.right.data() + from, signal.right.data() + to});
}

std::vector<float> noise(size_t frames, unsigned seed, float amplitude) {
    std::vector<float> signal(frames);
    uint32_t state = seed != 0 ? seed : 1;
    for (auto& sample : signal) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        sample = amplitude * (static_cast<float>(state) / 2147483648.0f - 1.0f);
    }
    return signal;
}

namespace {
size_t endOf(const std::vector<float>& signal, size_t to) {
    return to == 0 || to > signal.size() ? signal.size() : to;
}
}  // namespace

double rms(const std::vector<float>& signal, size_t from, size_t to) {
    to = endOf(signal, to);
    if (to <= from) return 0.0;
    double sum = 0.0;
    for (size_t i = from; i < to; ++i)
        sum += static_cast<double>(signal[i]) * signal[i];
    return std::sqrt(sum / (to - from));
}

double peak(const std::vector<float>& signal, size_t from, size_t to) {
    to = endOf(signal, to);
    double result = 0.0;
    for (size_t i = from; i < to; ++i)
        result = std::max(result, std::fabs(double(signal[i])));
    return result;
}

double amplitudeAt(const std::vector<float>& signal, double frequency, double sampleRate,
                   size_t from, size_t to) {
    to = endOf(signal, to);
    // Whole cycles only, so the window leaks nothing from the frequency itself.
    double cycles = std::floor((to - from) * frequency / sampleRate);
    if (cycles >= 1.0)
        to = from + static_cast<size_t>(std::llround(cycles * sampleRate / frequency));
    double re = 0.0;
    double im = 0.0;
    for (size_t i = from; i < to; ++i) {
        double phase = 2.0 * kPi * frequency * (i - from) / sampleRate;
        re += signal[i] * std::cos(phase);
        im -= signal[i] * std::sin(phase);
    }
    return 2.0 * std::hypot(re, im) / (to - from);
}

double toDb(double gain) {
    return gain > 0.0 ? 20.0 * std::log10(gain) : -1000.0;
}

size_t peakIndex(const std::vector<float>& signal) {
    size_t index = 0;
    for (size_t i = 1; i < signal.size(); ++i) {
        if (std::fabs(signal[i]) > std::fabs(signal[index])) index = i;
    }
    return index;
}

size_t countBadSamples(const std::vector<float>& signal) {
    size_t count = 0;
    for (float sample : signal) {
        if (!std::isfinite(sample) || std::fpclassify(sample) == FP_SUBNORMAL) ++count;
    }
    return count;
}

}  // namespace testing_support
