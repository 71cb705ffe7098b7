#pragma once
// The fifteen-line feedback delay network of the "cathedral" and "hall" reverbs: each line is a
// slowly modulated allpass followed by a plain delay and a damping low-pass; a circulant +-1
// matrix feeds every line's output back into all lines, and seven taps per side inside the
// plain delays form the output.

#include <cstdint>
#include <vector>

namespace kirra {

class ReverbNetwork {
  public:
    static constexpr int kLines = 15;
    static constexpr int kTapsPerSide = 7;
    static constexpr int kMaxInputAllpasses = 4;

    // Lengths in samples at 44.1 kHz and the decay range of one room.
    struct Layout {
        int lineLengths[kLines];
        int inputAllpassCount;
        int inputAllpassLengths[kMaxInputAllpasses];
        // Tap distances into the plain delays: left taps read lines 0, 2, ..., 12, right taps
        // lines 1, 3, ..., 13, with alternating signs.
        int tapsLeft[kTapsPerSide];
        int tapsRight[kTapsPerSide];
        // Decay time in seconds: shortest + range * time value.
        float shortestSeconds;
        float rangeSeconds;
    };
    static const Layout kCathedral;
    static const Layout kHall;

    explicit ReverbNetwork(const Layout& layout) : layout_(layout) {}

    // Allocates the lines for a rate; lengths are the nominal ones times the length scale.
    void prepare(float sampleRate, float lengthScale);
    void clear();
    // Feedback gains for the decay time and damping coefficients, from the time and damping
    // values (0..1).
    void setDecay(float timeValue, float dampingValue);
    // Decay time in seconds the gains are set for.
    float decaySeconds(float timeValue) const;
    // Mono input (the mean of both channels), stereo output.
    void process(float input, float& outLeft, float& outRight);

  private:
    // The lines run four at a time in the lanes of a vector; the sixteenth lane is an idle line
    // that nothing reads.
    static constexpr int kLineLanes = 16;
    // Behind each allpass buffer two copies of its first values, so that the interpolation's
    // second point never wraps.
    static constexpr int kAllpassGuard = 2;

    struct Line {
        // modulated allpass and plain delay storage
        std::vector<float> allpass;
        std::vector<float> delay;
        // LFO phase (cycles) and where it starts
        float phase = 0.0f;
        float initialPhase = 0.0f;
    };
    struct Allpass {
        std::vector<float> buffer;
        int index = 0;
    };
    void runLines(float input, float* outputs);
    void updateModulation();

    const Layout& layout_;
    float sampleRate_ = 44100.0f;
    float modulationDepth_ = 12.0f;  // samples
    float phaseStep_ = 0.0f;         // LFO cycles per sample
    int modulationCountdown_ = 0;
    Line lines_[kLines];
    Allpass inputAllpasses_[kMaxInputAllpasses];
    float feedback_[kLines + 1] = {};  // one spare for the four-lane matrix
    // Per line, one lane each: the modulated allpass (buffer, its length as int and float, write
    // index, the delay the LFO swings around, the extra delay now and its per-sample step to
    // the next update), the plain delay (buffer, length, index of the value written last),
    // feedback gain, damping coefficient and low-pass state.
    float* allpassData_[kLineLanes] = {};
    alignas(16) int32_t allpassSize_[kLineLanes] = {};
    alignas(16) float allpassLength_[kLineLanes] = {};
    alignas(16) int32_t allpassWrite_[kLineLanes] = {};
    alignas(16) float baseDelay_[kLineLanes] = {};
    alignas(16) float modulation_[kLineLanes] = {};
    alignas(16) float modulationStep_[kLineLanes] = {};
    float* delayData_[kLineLanes] = {};
    alignas(16) int32_t delaySize_[kLineLanes] = {};
    alignas(16) int32_t delayIndex_[kLineLanes] = {};
    alignas(16) float gain_[kLineLanes] = {};
    alignas(16) float damping_[kLineLanes] = {};
    alignas(16) float lowpass_[kLineLanes] = {};
    // Per tap lane (the left taps, the right taps, two idle lanes): the line's delay, its length,
    // the distance behind the value written last and the index that reads there.
    const float* tapData_[kLineLanes] = {};
    alignas(16) int32_t tapSize_[kLineLanes] = {};
    int32_t tapDistance_[kLineLanes] = {};
    alignas(16) int32_t tapIndex_[kLineLanes] = {};
    // the idle lane's storage
    float idleAllpass_[1 + kAllpassGuard] = {};
    float idleDelay_[1] = {};
};

}  // namespace kirra
