#include "operators/effects/Distortion.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <iterator>

namespace kirra {

namespace {

const ParameterInfo kParameters[] = {
    {"drive", "drive", "dB", 0.0f},       {"freq", "freq", "Hz", 0.56632334f},  // 1000 Hz
    {"bandwidth", "bandwidth", "", 0.0f}, {"type", "type", "", 1.0f / 32.0f},   // "sym A"
    {"diffuse", "diffuse", "", 0.0f},     {"xover", "xover", "", 0.25f},
};

constexpr float kOctaves = 9.965784f;  // 20 Hz to 20 kHz
constexpr float kDriveSlope = 4.623413f;
// Diffuse values below this switch the diffuser off.
constexpr float kDiffuseOn = 0.01f;
// The band centre stays below Nyquist at any rate, so the band filter stays stable.
constexpr double kHighestBandOmega = 0.98 * 3.141592653589793;

const char* const kCurveNames[Distortion::kCurveCount] = {"sym A",  "sym B",  "sym C", "asym A",
                                                          "asym B", "asym C", "clip"};
const char* const kOffOn[] = {"off", "on"};

// Knee of the symmetric curves: small signals gain (d + K) / K.
const float kSymmetricKnee[3] = {6.0f, 4.0f, 2.0f};

// Asymmetric curve f(a) = (a - Q) / (1 - exp(-k (a - Q))): steepness k, bias Q, and the gain G
// = 2 / (f(1) - f(-1)) that makes a swing of -1..1 an output swing of 2, and the value f(0)
// at silence.
struct AsymmetricCurve {
    float gain;
    float steepness;
    float bias;
    float restValue;
};
const AsymmetricCurve kAsymmetric[3] = {
    {1.385122751f, 2.0f, -0.8f, 1.002376281f},
    {1.332023709f, 4.0f, -0.6f, 0.659861263f},
    {1.445650638f, 6.0f, -0.4f, 0.439907509f},
};

float asymmetric(const AsymmetricCurve& curve, float a) {
    const float u = a - curve.bias;
    const float x = curve.steepness * u;
    // Near the bias 1 - exp(-x) loses all its digits (and is 0 at the bias itself): there the
    // quotient comes from the series of x / (1 - exp(-x)).
    if (std::fabs(x) < 1e-3f) return (1.0f + x * (0.5f + x * (1.0f / 12.0f))) / curve.steepness;
    return u / (1.0f - std::exp(-x));
}

bool isAsymmetric(int curve) {
    return curve >= Distortion::kAsymA && curve <= Distortion::kAsymC;
}

float bandQ(float value) {
    return (99.0f * value * value + 1.0f) * 0.2f;
}

// The text ends in "k" or "khz" (any case, blanks after it allowed).
bool endsInKilo(const char* text) {
    size_t length = std::strlen(text);
    while (length > 0 && text[length - 1] == ' ')
        --length;
    if (length >= 3 && startsWithNoCase(text + length - 3, "khz")) return true;
    return length >= 1 && (text[length - 1] == 'k' || text[length - 1] == 'K');
}

}  // namespace

constexpr int Distortion::kDiffuserLengths[4];

Distortion::Distortion(int slot, ModuleOwner* owner)
    : Operator(slot, owner, kParameters, kPositionCount) {
    setSampleRate(sampleRate_);
}

float Distortion::driveGain(float value) {
    return std::pow(1.0f + kDriveSlope * value * value, 8.0f);
}

float Distortion::bandFrequencyHz(float value) {
    return 20.0f * std::exp2(kOctaves * value);
}

void Distortion::formatDisplay(int position, float value, ModuleText& text) const {
    switch (position) {
        case kDrive:
            formatText(text, "%.0f", 20.0 * std::log10(driveGain(value)));
            break;
        case kFrequency:
            formatText(text, "%.0f", bandFrequencyHz(value));
            break;
        case kBandwidth:
            formatText(text, "%.2f", bandQ(value));
            break;
        case kType:
            formatText(text, "%d", valueToIndex(value, kTypeStates));
            break;
        case kDiffuse:
            if (value < kDiffuseOn) {
                setText(text, "off");
            } else {
                formatText(text, "%.1f", 100.0f * value);
            }
            break;
        case kCrossover:
            setText(text, kOffOn[valueToIndex(value, 2)]);
            break;
        default:
            setText(text, "---");
            break;
    }
}

void Distortion::getEditorText(int position, float value, ModuleText& text) const {
    switch (position) {
        case kDrive:
            formatText(text, "%.1f dB", 20.0 * std::log10(driveGain(value)));
            break;
        case kFrequency:
            formatText(text, "%.0f Hz", bandFrequencyHz(value));
            break;
        case kBandwidth:
            formatText(text, "%.1f", bandQ(value));
            break;
        case kType: {
            int curve = valueToIndex(value, kTypeStates);
            setText(text, curve < kCurveCount ? kCurveNames[curve] : "---");
            break;
        }
        default:
            formatDisplay(position, value, text);
            break;
    }
}

float Distortion::textToValue(int position, const char* text, float currentValue) const {
    if (text == nullptr) return currentValue;
    while (*text == ' ')
        ++text;
    float number = 0.0f;
    switch (position) {
        case kDrive: {
            if (!parseNumber(text, number)) return currentValue;
            double gain = std::pow(10.0, std::clamp(number, 0.0f, 120.0f) / 20.0);
            return static_cast<float>(std::sqrt((std::pow(gain, 0.125) - 1.0) / kDriveSlope));
        }
        case kFrequency:
            if (!parseNumber(text, number)) return currentValue;
            if (endsInKilo(text)) number *= 1000.0f;
            number = std::clamp(number, 20.0f, 20000.0f);
            return static_cast<float>(std::log(number / 20.0) / (kOctaves * std::log(2.0)));
        case kBandwidth:
            if (!parseNumber(text, number)) return currentValue;
            return std::sqrt((5.0f * std::clamp(number, 0.2f, 20.0f) - 1.0f) / 99.0f);
        case kType:
            for (int curve = kCurveCount - 1; curve >= 0; --curve) {  // "asym A" before "sym A"
                if (equalsNoCase(text, kCurveNames[curve])) return indexToValue(curve, kTypeStates);
            }
            return currentValue;
        case kDiffuse:
            if (startsWithNoCase(text, "off")) return 0.0f;
            if (!parseNumber(text, number)) return currentValue;
            return std::clamp(number, 0.0f, 100.0f) / 100.0f;
        case kCrossover:
            if (startsWithNoCase(text, "on")) return indexToValue(1, 2);
            if (startsWithNoCase(text, "off")) return indexToValue(0, 2);
            return currentValue;
        default:
            return currentValue;
    }
}

bool Distortion::isParameterUsed(int position) const {
    return position == kDrive || position == kFrequency || position == kBandwidth;
}

float Distortion::transferCurve(const float* positionValues, float input) {
    const int curve = valueToIndex(positionValues[kType], kTypeStates);
    const float drive = driveGain(positionValues[kDrive]);
    if (curve <= kSymC) {
        const float knee = kSymmetricKnee[curve];
        return input * (drive + knee) / (knee + std::fabs(input) * drive);
    }
    if (isAsymmetric(curve)) {
        const AsymmetricCurve& shape = kAsymmetric[curve - kAsymA];
        double offset = asymmetric(shape, 0.0);
        return static_cast<float>(shape.gain * (asymmetric(shape, drive * input) - offset) / drive);
    }
    if (curve == kClip) return std::clamp(input * drive, -1.0f, 1.0f);
    return input;
}

void Distortion::setSampleRate(float sampleRate) {
    // Second-order Butterworth high-pass at 10 Hz.
    const double omega = kTwoPi * 10.0 / sampleRate;
    const double cosine = std::cos(omega);
    const double alpha = std::sin(omega) / std::sqrt(2.0);
    const double norm = 1.0 / (1.0 + alpha);
    dcB0_ = dcB2_ = (1.0 + cosine) * 0.5 * norm;
    dcB1_ = -2.0 * dcB0_;
    dcA1_ = -2.0 * cosine * norm;
    dcA2_ = (1.0 - alpha) * norm;
    clearChannel(channelLeft_);
    clearChannel(channelRight_);
    Operator::setSampleRate(sampleRate);
}

void Distortion::updateChannel(Channel& channel, const float* copies) {
    channel.drive.setTarget(driveGain(copies[kDrive]));
    double omega = kTwoPi * bandFrequencyHz(copies[kFrequency]) / sampleRate_;
    if (omega > kHighestBandOmega) omega = kHighestBandOmega;
    channel.sine.setTarget(static_cast<float>(std::sin(omega)));
    channel.cosine.setTarget(static_cast<float>(std::cos(omega)));
    channel.bandQ.setTarget(bandQ(copies[kBandwidth]));
}

void Distortion::updateParameters() {
    curve_ = valueToIndex(base_[kType], kTypeStates);
    crossover_ = valueToIndex(base_[kCrossover], 2) == 1;
    const bool diffuserOn = base_[kDiffuse] >= kDiffuseOn;
    if (diffuserOn != diffuserOn_) {
        // A diffuser switched in starts from silence instead of an old tail.
        clearChannel(channelLeft_);
        clearChannel(channelRight_);
        diffuserOn_ = diffuserOn;
    }
    diffuserGain_ = 0.7f * base_[kDiffuse];
    updateChannel(channelLeft_, left_);
    updateChannel(channelRight_, right_);
}

void Distortion::snapToTargets() {
    for (Channel* channel : {&channelLeft_, &channelRight_}) {
        channel->drive.snap();
        channel->sine.snap();
        channel->cosine.snap();
        channel->bandQ.snap();
    }
}

void Distortion::clearChannel(Channel& channel) {
    channel.x1 = channel.x2 = channel.y1 = channel.y2 = 0.0f;
    channel.dcX1 = channel.dcX2 = channel.dcY1 = channel.dcY2 = 0.0;
    std::fill(std::begin(channel.diffuser), std::end(channel.diffuser), 0.0f);
    std::fill(std::begin(channel.diffuserIndex), std::end(channel.diffuserIndex), 0);
}

void Distortion::resetState() {
    snapToTargets();
    clearChannel(channelLeft_);
    clearChannel(channelRight_);
}

float Distortion::blockDc(Channel& channel, double sample) const {
    double y = dcB0_ * sample + dcB1_ * channel.dcX1 + dcB2_ * channel.dcX2 - dcA1_ * channel.dcY1 -
               dcA2_ * channel.dcY2;
    channel.dcX2 = channel.dcX1;
    channel.dcX1 = sample;
    channel.dcY2 = channel.dcY1;
    channel.dcY1 = flushDenormal(y);
    if (!std::isfinite(y)) {
        channel.dcX1 = channel.dcX2 = channel.dcY1 = channel.dcY2 = 0.0;
        return 0.0f;
    }
    return static_cast<float>(y);
}

float Distortion::shape(Channel& channel, float band, float drive) const {
    if (curve_ <= kSymC) {
        const float knee = kSymmetricKnee[curve_];
        return band * (drive + knee) / (knee + std::fabs(band) * drive);
    }
    if (isAsymmetric(curve_)) {
        const AsymmetricCurve& curve = kAsymmetric[curve_ - kAsymA];
        // The curve's value at silence is taken off before the 10 Hz high-pass: left in, it
        // would reach the output as a thump whenever the high-pass starts from rest (a program
        // load, a resume, a type change) and each time the drive moves.
        float a = drive * band + 1e-15f;
        float shaped = curve.gain * (asymmetric(curve, a) - curve.restValue) / drive;
        return blockDc(channel, shaped);
    }
    if (curve_ == kClip) return std::clamp(band * drive, -1.0f, 1.0f);
    return band;
}

float Distortion::diffuse(Channel& channel, float sample) const {
    const float g = diffuserGain_;
    float* line = channel.diffuser;
    for (int section = 0; section < 4; ++section) {
        int& index = channel.diffuserIndex[section];
        float stored = line[index];
        float w = flushDenormal(sample - g * stored);
        line[index] = w;
        sample = g * w + stored;
        if (--index < 0) index = kDiffuserLengths[section] - 1;
        line += kDiffuserLengths[section];
    }
    return sample;
}

float Distortion::processChannel(Channel& channel, float x) {
    const float drive = channel.drive.advance();
    const float sine = channel.sine.advance();
    const float cosine = channel.cosine.advance();
    const float q = channel.bandQ.advance();
    float band = x;
    if (crossover_) {
        // Band-pass whose feed-forward is not normalised: the centre gain is 1 + alpha, and
        // x - band + shaped(band) gives x back exactly for a linear curve.
        const float alpha = sine / (2.0f * q);
        const float norm = 1.0f / (1.0f + alpha);
        band = alpha * (x - channel.x2) + 2.0f * cosine * norm * channel.y1 -
               (1.0f - alpha) * norm * channel.y2;
        band = flushDenormal(band);
        if (!std::isfinite(band)) band = 0.0f;
        channel.x2 = channel.x1;
        channel.x1 = x;
        channel.y2 = channel.y1;
        channel.y1 = band;
    }
    float shaped = shape(channel, band, drive);
    if (diffuserOn_) shaped = diffuse(channel, shaped);
    return x - band + shaped;
}

void Distortion::processSample(float& left, float& right) {
    left = processChannel(channelLeft_, left);
    right = processChannel(channelRight_, right);
}

}  // namespace kirra
