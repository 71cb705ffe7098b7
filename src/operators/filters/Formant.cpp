#include "operators/filters/Formant.h"

#include <cmath>
#include <complex>
#include <iterator>

#include "modules/PositionTexts.h"
#include "operators/filters/FilterMath.h"
#include "operators/filters/FilterText.h"

namespace kirra {

namespace {

enum Position { kMorph = 0, kVowelA, kVowelB };

const char* const kVowelNames[Formant::kVowels] = {"A", "E", "I", "O", "Y"};

// The vowels follow only their base values, so they are no modulation destinations.
constexpr PositionDescriptor vowelRow(const char* name) {
    return {name,
            name,
            "",
            0.1f,  // "A"
            namedChoice<kVowelNames>,
            nullptr,
            namedChoiceFromText<kVowelNames>,
            choiceCount<kVowelNames>,
            false};
}

const PositionDescriptor kParameters[] = {
    // share of vowel B
    {"morph", "morph", "%", 0.0f, morphDisplay, morphEditorText, percentTyped},
    vowelRow("vowelA"),
    vowelRow("vowelB"),
};

// Frequency and bandwidth in hertz of the first three formants of each vowel.
struct FormantShape {
    double frequencyHz;
    double bandwidthHz;
};
const FormantShape kVowelTable[Formant::kVowels][Formant::kFormants] = {
    {{700, 130}, {1220, 70}, {2600, 160}},  // A
    {{530, 60}, {1680, 90}, {2500, 200}},   // E
    {{310, 45}, {2020, 200}, {2960, 400}},  // I
    {{600, 90}, {990, 100}, {2570, 80}},    // O
    {{400, 50}, {1800, 100}, {2570, 140}},  // Y
};

constexpr double kPi = 3.141592653589793;

// Poles at radius r and angles +-w; scaled by 1 + a1 + a2 for a gain of exactly 1 at 0 Hz.
SecondOrder resonator(double cosine, double radius) {
    SecondOrder k;
    k.a1 = -2.0 * radius * cosine;
    k.a2 = radius * radius;
    k.b0 = 1.0 + k.a1 + k.a2;
    k.b1 = k.b2 = 0.0;
    return k;
}

}  // namespace

Formant::Formant(int slot, ModuleOwner* owner)
    : Operator(kFormant, slot, owner, kParameters, std::size(kParameters)) {
    setSampleRate(sampleRate_);
}

void Formant::setSampleRate(float sampleRate) {
    // The tables first, so that the ramps land on the new rate's formants right away.
    for (int vowel = 0; vowel < kVowels; ++vowel) {
        for (int formant = 0; formant < kFormants; ++formant) {
            const FormantShape& shape = kVowelTable[vowel][formant];
            omega_[vowel][formant] = kTwoPi * shape.frequencyHz / sampleRate;
            radius_[vowel][formant] = std::exp(-kPi * shape.bandwidthHz / sampleRate);
        }
    }
    Operator::setSampleRate(sampleRate);
}

Formant::Pole Formant::morphedPole(float morphValue, int vowelA, int vowelB, int formant) const {
    // Frequencies move linearly in hertz, radii linearly, from vowel A to vowel B.
    const double m = sanitizeUnit(morphValue);
    return {(1.0 - m) * omega_[vowelA][formant] + m * omega_[vowelB][formant],
            (1.0 - m) * radius_[vowelA][formant] + m * radius_[vowelB][formant]};
}

void Formant::updateParameters() {
    const int vowelA = valueToIndex(base_[kVowelA], kVowels);
    const int vowelB = valueToIndex(base_[kVowelB], kVowels);
    for (int channel = 0; channel < 2; ++channel) {
        const float morph = channel == 0 ? left_[kMorph] : right_[kMorph];
        for (int formant = 0; formant < kFormants; ++formant) {
            const Pole pole = morphedPole(morph, vowelA, vowelB, formant);
            cosine_.target[2 * formant + channel] = std::cos(pole.omega);
            poleRadius_.target[2 * formant + channel] = pole.radius;
        }
    }
    cosine_.aimAtTargets();
    poleRadius_.aimAtTargets();
}

void Formant::snapToTargets() {
    cosine_.snap();
    poleRadius_.snap();
}

void Formant::clearHistory() {
    for (int lane = 0; lane < kLanes; ++lane)
        y1_[lane] = y2_[lane] = 0.0;
}

void Formant::resetState() {
    clearHistory();
    snapToTargets();
}

void Formant::processSample(float& left, float& right) {
    cosine_.advance();
    poleRadius_.advance();
    double signal[2] = {left, right};
    for (int formant = 0; formant < kFormants; ++formant) {
        for (int channel = 0; channel < 2; ++channel) {
            const int lane = 2 * formant + channel;
            const SecondOrder k = resonator(cosine_.current[lane], poleRadius_.current[lane]);
            double y = k.b0 * signal[channel] - k.a1 * y1_[lane] - k.a2 * y2_[lane];
            if (isNegligible(y, y1_[lane])) y = y1_[lane] = 0.0;
            y2_[lane] = y1_[lane];
            y1_[lane] = y;
            signal[channel] = y;
        }
    }
    left = static_cast<float>(signal[0]);
    right = static_cast<float>(signal[1]);
    if (!isFinitePair(left, right)) {
        clearHistory();
        left = right = 0.0f;
    }
}

double Formant::magnitudeAt(const float* positionValues, double frequencyHz) const {
    const int vowelA = valueToIndex(positionValues[kVowelA], kVowels);
    const int vowelB = valueToIndex(positionValues[kVowelB], kVowels);
    const double omega = kTwoPi * frequencyHz / sampleRate_;
    double magnitude = 1.0;
    for (int formant = 0; formant < kFormants; ++formant) {
        const Pole pole = morphedPole(positionValues[kMorph], vowelA, vowelB, formant);
        magnitude *= std::abs(responseAt(resonator(std::cos(pole.omega), pole.radius), omega));
    }
    return magnitude;
}

}  // namespace kirra
