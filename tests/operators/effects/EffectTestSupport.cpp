#include "EffectTestSupport.h"

#include <cmath>

#include "engine/ModuleFactory.h"
#include "operators/effects/Fft.h"
#include "platform/FloatingPointGuard.h"
#include "support/Signals.h"

namespace effects_test {

std::unique_ptr<kirra::Operator> makeOperator(int type, float sampleRate) {
    auto op = kirra::createOperator(type, 0, nullptr);
    op->setSampleRate(sampleRate);
    return op;
}

std::unique_ptr<kirra::Operator> makeOperator(int type, float sampleRate,
                                              const std::vector<std::pair<int, float>>& values) {
    auto op = makeOperator(type, sampleRate);
    for (auto [position, value] : values)
        op->setParameter(position, value);
    op->setSampleRate(sampleRate);
    return op;
}

Stereo OperatorRunner::run(const Stereo& input) {
    platform::FloatingPointGuard audioMode;
    Stereo output(input.frames());
    for (size_t i = 0; i < input.frames(); ++i) {
        if (--countdown_ < 0) {
            countdown_ = kirra::kControlPeriod - 1;
            op_.resetModulation();
            if (modulate) modulate(op_);
            op_.updateParameters();
        }
        float left = input.left[i];
        float right = input.right[i];
        op_.processSample(left, right);
        output.left[i] = left;
        output.right[i] = right;
    }
    return output;
}

double decaySeconds(const std::vector<float>& impulseResponse, double sampleRate) {
    std::vector<double> remaining(impulseResponse.size() + 1, 0.0);
    for (size_t i = impulseResponse.size(); i-- > 0;) {
        remaining[i] = remaining[i + 1] + double(impulseResponse[i]) * impulseResponse[i];
    }
    if (remaining[0] <= 0.0) return 0.0;
    // Least squares over the -5..-35 dB part of the energy decay curve.
    double n = 0.0, sumT = 0.0, sumL = 0.0, sumTT = 0.0, sumTL = 0.0;
    for (size_t i = 0; i < impulseResponse.size(); ++i) {
        double level = 10.0 * std::log10(remaining[i] / remaining[0] + 1e-300);
        if (level > -5.0) continue;
        if (level < -35.0) break;
        double t = i / sampleRate;
        n += 1.0;
        sumT += t;
        sumL += level;
        sumTT += t * t;
        sumTL += t * level;
    }
    double slope = (n * sumTL - sumT * sumL) / (n * sumTT - sumT * sumT);  // dB per second
    return -60.0 / slope;
}

double peakFrequency(const std::vector<float>& signal, double sampleRate) {
    int size = 1;
    while (size * 2 <= static_cast<int>(signal.size()))
        size *= 2;
    kirra::Fft fft;
    fft.prepare(size);
    std::vector<float> real(size), imag(size, 0.0f);
    const size_t start = signal.size() - size;
    for (int i = 0; i < size; ++i) {
        double window = 0.5 - 0.5 * std::cos(2.0 * testing_support::kPi * i / size);
        real[i] = static_cast<float>(signal[start + i] * window);
    }
    fft.forward(real.data(), imag.data());
    std::vector<double> magnitude(size / 2);
    int best = 1;
    for (int k = 0; k < size / 2; ++k) {
        magnitude[k] = std::hypot(double(real[k]), double(imag[k]));
        if (k > 0 && magnitude[k] > magnitude[best]) best = k;
    }
    // Parabola through the log magnitudes of the peak and its neighbours.
    double a = std::log(magnitude[best - 1] + 1e-30);
    double b = std::log(magnitude[best] + 1e-30);
    double c = std::log(magnitude[best + 1] + 1e-30);
    double offset = 0.5 * (a - c) / (a - 2.0 * b + c);
    return (best + offset) * sampleRate / size;
}

}  // namespace effects_test
