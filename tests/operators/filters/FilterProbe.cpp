#include "operators/filters/FilterProbe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "engine/ParameterIndex.h"
#include "support/Signals.h"

namespace filter_tests {

using namespace testing_support;

FilterProbe::FilterProbe(int operatorType, float sampleRate)
    : host_(makeOperatorProbe(operatorType, sampleRate)), sampleRate_(sampleRate) {}

void FilterProbe::set(int position, float value) {
    plugin().setParameter(kirra::param::operatorParameter(0, position), value);
}

void FilterProbe::setText(int position, const char* text) {
    set(position, op().textToValue(position, text, op().getBaseValue(position)));
}

kirra::Operator& FilterProbe::op() {
    return *plugin().getOperator(0);
}

Stereo FilterProbe::run(const Stereo& input, int blockSize) {
    plugin().suspend();
    host_->process(Stereo(2 * kirra::kControlPeriod), blockSize);
    return host_->process(input, blockSize);
}

Stereo FilterProbe::resume(const Stereo& input, int blockSize) {
    return host_->process(input, blockSize);
}

std::vector<float> FilterProbe::impulseResponse(size_t frames) {
    return run(stereo(impulse(frames))).left;
}

double FilterProbe::plotted(double frequencyHz) {
    float values[kirra::Operator::kPositions];
    for (int position = 0; position < kirra::Operator::kPositions; ++position) {
        values[position] = op().getBaseValue(position);
    }
    return op().magnitudeAt(values, frequencyHz);
}

float frequencyValue(double hertz) {
    return static_cast<float>(std::log2(hertz / 20.0) / 9.965784);
}

double knobHertz(float value) {
    return 20.0 * std::exp2(9.965784 * value);
}

double responseMagnitude(const std::vector<float>& response, double frequencyHz,
                         double sampleRate) {
    const std::complex<double> step = std::polar(1.0, -2.0 * kPi * frequencyHz / sampleRate);
    std::complex<double> rotation = 1.0;
    std::complex<double> sum = 0.0;
    for (size_t i = 0; i < response.size(); ++i) {
        sum += static_cast<double>(response[i]) * rotation;
        rotation *= step;
        if (i % 1024 == 0) rotation /= std::abs(rotation);  // keep the phasor on the circle
    }
    return std::abs(sum);
}

std::vector<double> logFrequencies(double lowestHz, double highestHz, int count) {
    std::vector<double> frequencies;
    frequencies.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        frequencies.push_back(lowestHz * std::pow(highestHz / lowestHz, i / (count - 1.0)));
    }
    return frequencies;
}

void expectSameMagnitude(double measured, double expected, double toleranceDb, double frequencyHz) {
    if (expected > 1e-3) {
        EXPECT_NEAR(toDb(measured), toDb(expected), toleranceDb) << frequencyHz << " Hz";
    } else {
        EXPECT_NEAR(measured, expected, 1e-3) << frequencyHz << " Hz";
    }
}

void expectPlotMatchesSound(FilterProbe& probe, size_t frames, double toleranceDb, double lowestHz,
                            double highestHz, int count) {
    const std::vector<float> response = probe.impulseResponse(frames);
    for (double hz : logFrequencies(lowestHz, highestHz, count)) {
        expectSameMagnitude(responseMagnitude(response, hz, probe.sampleRate()), probe.plotted(hz),
                            toleranceDb, hz);
    }
}

}  // namespace filter_tests
