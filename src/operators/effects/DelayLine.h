#pragma once
// Stereo delay of up to four seconds per channel: times in milliseconds or note values of the
// host tempo, read without, with linear or with cubic interpolation, feedback, cross-panning of
// the two echoes (ping-pong) and a feedback mode that gives both echo trains the same decay.
// The output is the delayed signal only; the signal path mixes it with the dry signal.

#include <vector>

#include "modules/Operator.h"

namespace kirra {

class DelayLine : public Operator {
  public:
    enum Position {
        kTimeLeft = 0,
        kTimeRight,
        kFeedback,
        kMode,
        kInterpolate,
        kTimeBoth,
        kFeedbackMode,
        kPanLeft,
        kPanRight,
        kPositionCount
    };
    enum TimeMode { kTimeBased = 0, kTempoBased = 1 };
    enum Interpolation { kNoInterpolation = 0, kLinear = 1, kCubic = 2 };

    // Longest delay of either channel.
    static constexpr float kMaxSeconds = 4.0f;

    DelayLine(int slot, ModuleOwner* owner);

    void setTempo(float bpm) override;
    void resetModulation() override;
    void addModulation(int position, float left, float right) override;
    void setParameter(int position, float value) override;
    void setSampleRate(float sampleRate) override;
    void updateParameters() override;
    void snapToTargets() override;
    void resetState() override;
    void processSample(float& left, float& right) override;
    void processRun(float* left, float* right, int count) override;

    // A time parameter's normalised time (value times four seconds): the value itself in
    // time-based mode, the note value at the tempo in tempo-based mode, at most four seconds.
    static float normalisedTime(float value, int timeMode, float tempoBpm);
    // The value a time control takes when its mode switch is moved (the editor converts, host
    // automation of the mode does not): tempo to time keeps the duration, time to tempo picks
    // the note value closest to it.
    static float convertTimeValue(float value, int fromMode, int toMode, float tempoBpm);
    // The time mode of a delay, from its base value.
    static int timeModeOf(const Module& module);
    // Feedback gains of the two channels; with "align" the faster-decaying channel is raised so
    // that both fall by the same factor per sample.
    static void feedbackGains(float feedbackValueLeft, float feedbackValueRight,
                              float timeLeftSamples, float timeRightSamples, bool align,
                              float& gainLeft, float& gainRight);

    // One echo of the response to an impulse: when it is heard and how loud on each side.
    struct Echo {
        double seconds;
        float left;
        float right;
    };
    // The echoes of an impulse into one input channel (0 left, 1 right) in order of time,
    // those louder than -80 dB, at most maxEchoes; answers how many were written. What the
    // editor's delay plot draws.
    static int echoes(const float* positionValues, float sampleRate, float tempoBpm,
                      int inputChannel, Echo* out, int maxEchoes);

  private:
    void allocateLine(float sampleRate);
    int timeMode() const;
    float readChannel(const std::vector<float>& buffer, double position) const;
    // processSample's work, inlined into processSample and processRun alike.
    void processOne(float& left, float& right);

    // parameters picked up at control rate
    float tempoBpm_ = 120.0f;
    int timeMode_ = kTempoBased;
    int interpolation_ = kLinear;
    // derived targets and ramps: times in samples, feedback gains, pans
    LinearRamp timeLeft_;
    LinearRamp timeRight_;
    LinearRamp feedbackLeft_;
    LinearRamp feedbackRight_;
    LinearRamp panLeft_;
    LinearRamp panRight_;
    // delay memory: samples 1..length_ are the line, 0 and length_ + 1, + 2 are guard copies
    // of its ends so that the interpolators never wrap
    std::vector<float> bufferLeft_;
    std::vector<float> bufferRight_;
    int length_ = 0;
    int writePosition_ = 1;
};

}  // namespace kirra
