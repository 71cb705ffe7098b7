#include "operators/filters/EQ.h"

#include <cmath>

#include "operators/filters/FilterText.h"

namespace kirra {

namespace {

const char* const kShapeNames[EQ::kShapeCount] = {"LOWSHELF", "PEAKING", "HIGHSHELF"};

constexpr float kGainRangeDb = 24.0f;
// Peaking Q runs 0.05 .. 20 (20^(2v - 1)); a shelf's slope Q 2^-1.5 .. sqrt 2 (2^(2v - 1.5)).
constexpr float kPeakingLowestQ = 0.05f;
constexpr float kPeakingHighestQ = 20.0f;
constexpr float kShelfLowestQ = 0.35355339f;
constexpr float kShelfHighestQ = 1.4142135f;

float qFromValue(float value, int shape) {
    value = sanitizeUnit(value);
    if (shape == EQ::kPeaking) return std::pow(kPeakingHighestQ, 2.0f * value - 1.0f);
    return std::exp2(2.0f * value - 1.5f);
}

float gainDb(float value) {
    return 2.0f * kGainRangeDb * sanitizeUnit(value) - kGainRangeDb;
}

void gainDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.1f", gainDb(value));
}

void gainEditorText(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.0fdB", gainDb(value));
}

float gainFromText(const Module& /*module*/, const char* text, float currentValue) {
    float number;
    if (!numberFromText(text, -kGainRangeDb, kGainRangeDb, number)) return currentValue;
    return (number + kGainRangeDb) / (2.0f * kGainRangeDb);
}

// The q knobs' texts follow their band's shape.
template <int Band>
void qDisplay(const Module& module, float value, ModuleText& text) {
    formatText(text, "%.2f", qFromValue(value, EQ::shapeOf(module, Band)));
}

template <int Band>
float qFromText(const Module& module, const char* text, float currentValue) {
    float number;
    if (EQ::shapeOf(module, Band) == EQ::kPeaking) {
        if (!numberFromText(text, kPeakingLowestQ, kPeakingHighestQ, number)) return currentValue;
        return sanitizeUnit((std::log(number) / std::log(kPeakingHighestQ) + 1.0f) * 0.5f);
    }
    if (!numberFromText(text, kShelfLowestQ, kShelfHighestQ, number)) return currentValue;
    return sanitizeUnit((std::log2(number) + 1.5f) * 0.5f);
}

template <int Band>
constexpr PositionDescriptor qRow(const char* name) {
    return {name, name, "", 0.0f, qDisplay<Band>, nullptr, qFromText<Band>};
}

// -24 .. +24 dB
constexpr PositionDescriptor gainRow(const char* name) {
    return {name, name, "dB", 0.5f, gainDisplay, gainEditorText, gainFromText};
}

const PositionDescriptor kParameters[] = {
    FilterPair::frequencyRow("freqA"),
    qRow<0>("qA"),
    FilterPair::typeRow<kShapeNames>("typeA", 1.0f / 6.0f),  // low shelf
    FilterPair::frequencyRow("freqB"),
    qRow<1>("qB"),
    FilterPair::typeRow<kShapeNames>("typeB", 1.0f / 6.0f),
    FilterPair::morphRow(),
    gainRow("gainA"),
    gainRow("gainB"),
};
static_assert(std::size(kParameters) == EQ::kGainB + 1);

}  // namespace

EQ::EQ(int slot, ModuleOwner* owner)
    : FilterPair(kEQ, slot, owner, kParameters, std::size(kParameters), kShapeCount) {
    setSampleRate(sampleRate_);
}

int EQ::shapeOf(const Module& module, int band) {
    return typeOf(module, band, kShapeCount);
}

EQ::Design EQ::design(float frequencyValue, float qValue, float gainValue, int shape) const {
    const double omega = kTwoPi * heardFrequencyHz(frequencyValue, sampleRate_) / sampleRate_;
    const double q = qFromValue(qValue, shape);
    return {std::cos(omega), std::sin(omega) / (2.0 * q), std::pow(10.0, gainDb(gainValue) / 80.0)};
}

void EQ::updateParameters() {
    for (int band = 0; band < 2; ++band) {
        shape_[band] = typeOf(band);
        for (int channel = 0; channel < 2; ++channel) {
            const Relaxed<float>* copy = channel == 0 ? left_ : right_;
            const int first = kPositionsPerFilter * band;
            Design target = design(copy[first + kFreqA], copy[first + kKnobA], copy[kGainA + band],
                                   shape_[band]);
            const int lane = MorphingSections::lane(band, channel);
            cosine_.target[lane] = target.cosine;
            alpha_.target[lane] = target.alpha;
            rootGain_.target[lane] = target.rootGain;
        }
    }
    cosine_.aimAtTargets();
    alpha_.aimAtTargets();
    rootGain_.aimAtTargets();
    sections_.unsettle();
    sections_.morph.target[0] = sanitizeUnit(left_[kMorph]);
    sections_.morph.target[1] = sanitizeUnit(right_[kMorph]);
    sections_.morph.aimAtTargets();
}

void EQ::snapToTargets() {
    cosine_.snap();
    alpha_.snap();
    rootGain_.snap();
    sections_.unsettle();
    sections_.morph.snap();
}

void EQ::resetState() {
    sections_.clearHistory();
    snapToTargets();
}

SecondOrder EQ::coefficients(int shape, double cosine, double alpha, double rootGain) {
    const double gain = rootGain * rootGain;  // 10^(dB / 40)
    double b0, b1, b2, a0, a1, a2;
    if (shape == kPeaking) {
        b0 = 1.0 + alpha * gain;
        b1 = -2.0 * cosine;
        b2 = 1.0 - alpha * gain;
        a0 = 1.0 + alpha / gain;
        a1 = -2.0 * cosine;
        a2 = 1.0 - alpha / gain;
    } else {
        // The two shelves are mirror images: the high shelf flips the sign of every cosine term.
        const double mirror = shape == kHighShelf ? 1.0 : -1.0;
        const double slope = 2.0 * rootGain * alpha;  // 2 sqrt(gain) alpha
        const double plus = gain + 1.0;
        const double minus = gain - 1.0;
        b0 = gain * (plus + mirror * minus * cosine + slope);
        b1 = -2.0 * mirror * gain * (minus + mirror * plus * cosine);
        b2 = gain * (plus + mirror * minus * cosine - slope);
        a0 = plus - mirror * minus * cosine + slope;
        a1 = 2.0 * mirror * (minus - mirror * plus * cosine);
        a2 = plus - mirror * minus * cosine - slope;
    }
    const double norm = 1.0 / a0;
    SecondOrder k;
    k.b0 = b0 * norm;
    k.b1 = b1 * norm;
    k.b2 = b2 * norm;
    k.a1 = a1 * norm;
    k.a2 = a2 * norm;
    return k;
}

void EQ::processSample(float& left, float& right) {
    cosine_.advance();
    alpha_.advance();
    rootGain_.advance();
    const MorphingSections::Coefficients& k = sections_.coefficients(
        cosine_.current, alpha_.current, rootGain_.current, [this](int lane) {
            return coefficients(shape_[lane / 2], cosine_.current[lane], alpha_.current[lane],
                                rootGain_.current[lane]);
        });
    sections_.process(k, left, right);
}

double EQ::magnitudeAt(const float* positionValues, double frequencyHz) const {
    SecondOrder band[2];
    for (int b = 0; b < 2; ++b) {
        const float* values = positionValues + kPositionsPerFilter * b;
        const int shape = valueToIndex(values[kTypeA], kShapeCount);
        Design d = design(values[kFreqA], values[kKnobA], positionValues[kGainA + b], shape);
        band[b] = coefficients(shape, d.cosine, d.alpha, d.rootGain);
    }
    return MorphingSections::morphedMagnitude(band[0], band[1], positionValues[kMorph],
                                              kTwoPi * frequencyHz / sampleRate_);
}

}  // namespace kirra
