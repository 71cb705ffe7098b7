#include "operators/filters/SVF.h"

#include <cmath>

#include "operators/effects/FourLanes.h"
#include "operators/filters/FilterMath.h"
#include "operators/filters/FilterText.h"

namespace kirra {

namespace {

constexpr int kOversampling = 4;

const char* const kTypeNames[SVF::kTypeCount] = {"LP", "BP", "NOTCH", "HP"};

// D = 2 (1 - v^0.25): Q = 1/D runs from 0.5 to infinity. Above this value Q passes 100 and the
// display reads "oo".
constexpr float kInfiniteResonanceValue = 0.98014951f;
constexpr float kHighestShownQ = 100.0f;
constexpr float kLowestQ = 0.5f;

float damping(float value) {
    return 2.0f * (1.0f - std::sqrt(std::sqrt(sanitizeUnit(value))));
}

int laneOf(int filter, int channel) {
    return 2 * filter + channel;
}

// 2 x 2 matrices for the response: the four sub-steps folded into one step per sample.
struct Matrix {
    double m00, m01, m10, m11;
};
Matrix operator*(const Matrix& a, const Matrix& b) {
    return {a.m00 * b.m00 + a.m01 * b.m10, a.m00 * b.m01 + a.m01 * b.m11,
            a.m10 * b.m00 + a.m11 * b.m10, a.m10 * b.m01 + a.m11 * b.m11};
}
Matrix operator+(const Matrix& a, const Matrix& b) {
    return {a.m00 + b.m00, a.m01 + b.m01, a.m10 + b.m10, a.m11 + b.m11};
}
Matrix scaled(const Matrix& a, double factor) {
    return {a.m00 * factor, a.m01 * factor, a.m10 * factor, a.m11 * factor};
}

void resonanceDisplay(const Module& /*module*/, float value, ModuleText& text) {
    if (value > kInfiniteResonanceValue) {
        setText(text, "oo");
    } else {
        formatText(text, "%.2f", 1.0f / damping(value));
    }
}

float resonanceFromText(const Module& /*module*/, const char* text, float currentValue) {
    if (text == nullptr) return currentValue;
    while (*text == ' ')
        ++text;
    // What the display shows for an undamped filter reads back as one.
    if (startsWithNoCase(text, "oo")) return 1.0f;
    float q;
    if (!parseNumber(text, q)) return currentValue;
    if (q > kHighestShownQ) return 1.0f;
    q = maxOf(q, kLowestQ);
    const float root = 1.0f - kLowestQ / q;
    return sanitizeUnit(root * root * root * root);
}

// Q 0.5 .. infinity
constexpr auto kParameters =
    FilterPair::resonantPairRows<kTypeNames>(resonanceDisplay, resonanceFromText);

}  // namespace

SVF::SVF(int slot, ModuleOwner* owner)
    : FilterPair(kSVF, slot, owner, kParameters.data(), kParameters.size(), kTypeCount) {
    setSampleRate(sampleRate_);
}

float SVF::integratorGain(float frequencyValue) const {
    const double hertz = heardFrequencyHz(frequencyValue, sampleRate_);
    return static_cast<float>(2.0 * std::sin(kTwoPi * 0.5 * hertz / (kOversampling * sampleRate_)));
}

void SVF::updateParameters() {
    for (int filter = 0; filter < 2; ++filter) {
        type_[filter] = typeOf(filter);
        for (int channel = 0; channel < 2; ++channel) {
            const Relaxed<float>* copy = channel == 0 ? left_ : right_;
            const int first = kPositionsPerFilter * filter;
            const int lane = laneOf(filter, channel);
            integratorGain_.target[lane] = integratorGain(copy[first + kFreqA]);
            damping_.target[lane] = damping(copy[first + kKnobA]);
            for (int tap = 0; tap < kTypeCount; ++tap) {
                tapWeight_[tap][lane] = tap == type_[filter] ? 1.0f : 0.0f;
            }
        }
    }
    integratorGain_.aimAtTargets();
    damping_.aimAtTargets();
    morph_.target[0] = sanitizeUnit(left_[kMorph]);
    morph_.target[1] = sanitizeUnit(right_[kMorph]);
    morph_.aimAtTargets();
}

void SVF::snapToTargets() {
    integratorGain_.snap();
    damping_.snap();
    morph_.snap();
}

void SVF::resetState() {
    for (int lane = 0; lane < kLanes; ++lane)
        low_[lane] = band_[lane] = 0.0f;
    snapToTargets();
}

void SVF::processSample(float& left, float& right) {
    using namespace four_lanes;
    integratorGain_.advance();
    damping_.advance();
    morph_.advance();
    // The four lanes in one vector, each computing what it did on its own.
    const Lanes input = lanes(left, right, left, right);
    const Lanes f = load(integratorGain_.current);
    const Lanes damping = load(damping_.current);
    const Lanes quarter = splat(0.25f);
    Lanes low = load(low_);
    Lanes band = load(band_);
    Lanes output = splat(0.0f);
    for (int step = 0; step < kOversampling; ++step) {
        // Low advances with the previous band value, high uses the new low, band the new high.
        const Lanes notch = input - damping * band;
        low = low + f * band;
        const Lanes high = notch - low;
        band = band + f * high;
        output = output +
                 quarter * (load(tapWeight_[kLowPass]) * low + load(tapWeight_[kBandPass]) * band +
                            load(tapWeight_[kNotch]) * notch + load(tapWeight_[kHighPass]) * high);
    }
    // isNegligible of each lane's pair.
    const Lanes zero = splat(0.0f);
    const Lanes loudness = absolute(low) + absolute(band);
    store(low_, selectGreater(splat(1e-18f), loudness, zero, low));
    store(band_, selectGreater(splat(1e-18f), loudness, zero, band));
    alignas(16) float out[kLanes];
    store(out, output);
    const float morphLeft = morph_.current[0];
    const float morphRight = morph_.current[1];
    left = (1.0f - morphLeft) * out[laneOf(0, 0)] + morphLeft * out[laneOf(1, 0)];
    right = (1.0f - morphRight) * out[laneOf(0, 1)] + morphRight * out[laneOf(1, 1)];
    if (!isFinitePair(left, right)) {
        for (int lane = 0; lane < kLanes; ++lane)
            low_[lane] = band_[lane] = 0.0f;
        left = right = 0.0f;
    }
}

std::complex<double> SVF::response(int type, double f, double d, double omega) {
    // One sub-step on the state (low, band) with input x: state' = A state + B x, and the heard
    // response tap = C state + E x, C and E taken before the step.
    const Matrix a = {1.0, f, -f, 1.0 - f * d - f * f};
    const double b0 = 0.0, b1 = f;
    double c0, c1, e;
    switch (type) {
        case kLowPass:
            c0 = 1.0, c1 = f, e = 0.0;
            break;
        case kBandPass:
            c0 = -f, c1 = 1.0 - f * d - f * f, e = f;
            break;
        case kNotch:
            c0 = 0.0, c1 = -d, e = 1.0;
            break;
        default:
            c0 = -1.0, c1 = -d - f, e = 1.0;
            break;
    }
    // Per sample: state[n] = A^4 state[n-1] + (I + A + A^2 + A^3) B x[n]; the output is the mean
    // of the four taps, 1/4 C (I + A + A^2 + A^3) state[n-1] + 1/4 (4E + C (3I + 2A + A^2) B) x.
    const Matrix identity = {1.0, 0.0, 0.0, 1.0};
    const Matrix a2 = a * a;
    const Matrix a4 = a2 * a2;
    const Matrix sum = identity + a + a2 + a2 * a;
    const Matrix weighted = scaled(identity, 3.0) + scaled(a, 2.0) + a2;
    const double stepIn0 = sum.m00 * b0 + sum.m01 * b1;
    const double stepIn1 = sum.m10 * b0 + sum.m11 * b1;
    const double out0 = 0.25 * (c0 * sum.m00 + c1 * sum.m10);
    const double out1 = 0.25 * (c0 * sum.m01 + c1 * sum.m11);
    const double direct = 0.25 * (4.0 * e + (c0 * weighted.m00 + c1 * weighted.m10) * b0 +
                                  (c0 * weighted.m01 + c1 * weighted.m11) * b1);
    // H(z) = out (zI - A^4)^-1 stepIn + direct
    const std::complex<double> z = std::polar(1.0, omega);
    const std::complex<double> p00 = z - a4.m00, p01 = -a4.m01, p10 = -a4.m10, p11 = z - a4.m11;
    const std::complex<double> determinant = p00 * p11 - p01 * p10;
    const std::complex<double> solved0 = (p11 * stepIn0 - p01 * stepIn1) / determinant;
    const std::complex<double> solved1 = (-p10 * stepIn0 + p00 * stepIn1) / determinant;
    return out0 * solved0 + out1 * solved1 + direct;
}

double SVF::magnitudeAt(const float* positionValues, double frequencyHz) const {
    const double omega = kTwoPi * frequencyHz / sampleRate_;
    std::complex<double> filter[2];
    for (int f = 0; f < 2; ++f) {
        const float* values = positionValues + kPositionsPerFilter * f;
        filter[f] = response(valueToIndex(values[kTypeA], kTypeCount),
                             integratorGain(values[kFreqA]), damping(values[kKnobA]), omega);
    }
    const double shareOfB = sanitizeUnit(positionValues[kMorph]);
    return std::abs((1.0 - shareOfB) * filter[0] + shareOfB * filter[1]);
}

}  // namespace kirra
