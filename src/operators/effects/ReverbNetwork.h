#pragma once
// The fifteen-line feedback delay network of the "cathedral" and "hall" reverbs: each line is a
// slowly modulated allpass followed by a plain delay and a damping low-pass; a circulant +-1
// matrix feeds every line's output back into all lines, and seven taps per side inside the
// plain delays form the output.

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
    struct Line {
        // modulated allpass: buffer, write index, delay around which the LFO swings
        std::vector<float> allpass;
        int allpassWrite = 0;
        float baseDelay = 0.0f;
        // LFO: phase (cycles), extra delay now and its per-sample step to the next update
        float phase = 0.0f;
        float initialPhase = 0.0f;
        float modulation = 0.0f;
        float modulationStep = 0.0f;
        // plain delay and the index of the value written last
        std::vector<float> delay;
        int delayIndex = 0;
        // feedback gain, damping coefficient and low-pass state
        float gain = 0.0f;
        float damping = 1.0f;
        float lowpass = 0.0f;
    };
    struct Allpass {
        std::vector<float> buffer;
        int index = 0;
    };
    void updateModulation();
    float tap(int line, int distance) const;

    const Layout& layout_;
    float sampleRate_ = 44100.0f;
    float modulationDepth_ = 12.0f;  // samples
    float phaseStep_ = 0.0f;         // LFO cycles per sample
    int modulationCountdown_ = 0;
    Line lines_[kLines];
    Allpass inputAllpasses_[kMaxInputAllpasses];
    int tapsLeft_[kTapsPerSide] = {};
    int tapsRight_[kTapsPerSide] = {};
    float feedback_[kLines + 1] = {};  // one spare for the four-lane matrix
};

}  // namespace kirra
