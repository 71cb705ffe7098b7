#include "operators/effects/Distortion.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <iterator>

#include "operators/effects/EffectText.h"

namespace kirra {

namespace {

constexpr float kOctaves = 9.965784f;  // 20 Hz to 20 kHz
constexpr float kDriveSlope = 4.623413f;
// Diffuse values below this switch the diffuser off.
constexpr float kDiffuseOn = 0.01f;
// The band centre stays below Nyquist at any rate, so the band filter stays stable.
constexpr double kHighestBandOmega = 0.98 * 3.141592653589793;

const char* const kCurveNames[Distortion::kCurveCount] = {"sym A",  "sym B",  "sym C", "asym A",
                                                          "asym B", "asym C", "clip"};

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

// 0 .. 120 dB
double driveDb(float value) {
    return 20.0 * std::log10(Distortion::driveGain(value));
}

void driveDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.0f", driveDb(value));
}

void driveEditorText(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.1f dB", driveDb(value));
}

float driveFromText(const Module& /*module*/, const char* text, float currentValue) {
    float decibels;
    if (!numberFromText(text, 0.0f, 120.0f, decibels)) return currentValue;
    double gain = std::pow(10.0, decibels / 20.0);
    return static_cast<float>(std::sqrt((std::pow(gain, 0.125) - 1.0) / kDriveSlope));
}

// 20 Hz .. 20 kHz
void bandFrequencyDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.0f", Distortion::bandFrequencyHz(value));
}

void bandFrequencyEditorText(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.0f Hz", Distortion::bandFrequencyHz(value));
}

// Hertz, or kilohertz with a trailing "k" or "kHz".
float bandFrequencyFromText(const Module& /*module*/, const char* text, float currentValue) {
    while (*text == ' ')
        ++text;
    float hertz;
    if (!parseNumber(text, hertz)) return currentValue;
    if (endsInKilo(text)) hertz *= 1000.0f;
    hertz = std::clamp(hertz, 20.0f, 20000.0f);
    return static_cast<float>(std::log(hertz / 20.0) / (kOctaves * std::log(2.0)));
}

// The band's Q, 0.2 .. 20
void bandwidthDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.2f", bandQ(value));
}

void bandwidthEditorText(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.1f", bandQ(value));
}

float bandwidthFromText(const Module& /*module*/, const char* text, float currentValue) {
    float q;
    if (!numberFromText(text, 0.2f, 20.0f, q)) return currentValue;
    return std::sqrt((5.0f * q - 1.0f) / 99.0f);
}

// The host shows the type's step, the editor the curve's name (the steps past the curves pass
// the signal unshaped and have none).
void typeDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%d", valueToIndex(value, Distortion::kTypeStates));
}

void typeEditorText(const Module& /*module*/, float value, ModuleText& text) {
    int curve = valueToIndex(value, Distortion::kTypeStates);
    setText(text, curve < Distortion::kCurveCount ? kCurveNames[curve] : "---");
}

// A curve's whole name, any case.
float typeFromText(const Module& /*module*/, const char* text, float currentValue) {
    while (*text == ' ')
        ++text;
    for (int curve = Distortion::kCurveCount - 1; curve >= 0; --curve) {  // "asym A" before "sym A"
        if (equalsNoCase(text, kCurveNames[curve])) {
            return indexToValue(curve, Distortion::kTypeStates);
        }
    }
    return currentValue;
}

// The diffuser's share in percent; below 1 % it is off.
void diffuseDisplay(const Module& /*module*/, float value, ModuleText& text) {
    if (value < kDiffuseOn) {
        setText(text, "off");
    } else {
        formatText(text, "%.1f", 100.0f * value);
    }
}

float diffuseFromText(const Module& /*module*/, const char* text, float currentValue) {
    while (*text == ' ')
        ++text;
    if (startsWithNoCase(text, "off")) return 0.0f;
    float percent;
    if (!numberFromText(text, 0.0f, 100.0f, percent)) return currentValue;
    return percent / 100.0f;
}

// The drive and the band are modulation destinations; the curve, the diffuser and the
// crossover follow their base values.
const PositionDescriptor kParameters[] = {
    {"drive", "drive", "dB", 0.0f, driveDisplay, driveEditorText, driveFromText},
    {"freq", "freq", "Hz", 0.56632334f, bandFrequencyDisplay, bandFrequencyEditorText,
     bandFrequencyFromText},  // 1000 Hz
    {"bandwidth", "bandwidth", "", 0.0f, bandwidthDisplay, bandwidthEditorText, bandwidthFromText},
    {"type", "type", "", 1.0f / 32.0f, typeDisplay, typeEditorText, typeFromText,
     Distortion::kTypeStates, false},  // "sym A"
    {"diffuse", "diffuse", "", 0.0f, diffuseDisplay, nullptr, diffuseFromText, 0, false},
    offOnRow("xover", "xover", 0.25f),
};
static_assert(std::size(kParameters) == Distortion::kPositionCount);

}  // namespace

constexpr int Distortion::kDiffuserLengths[4];

Distortion::Distortion(int slot, ModuleOwner* owner)
    : Operator(kDistortion, slot, owner, kParameters, std::size(kParameters)) {
    setSampleRate(sampleRate_);
}

float Distortion::driveGain(float value) {
    return std::pow(1.0f + kDriveSlope * value * value, 8.0f);
}

float Distortion::bandFrequencyHz(float value) {
    return 20.0f * std::exp2(kOctaves * value);
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

void Distortion::updateChannel(Channel& channel, const Relaxed<float>* copies) {
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
