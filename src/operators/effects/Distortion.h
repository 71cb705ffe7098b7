#pragma once
// Waveshaper: the signal, driven by up to 120 dB, passes one of seven static curves (three
// symmetric soft curves, three asymmetric tube-like curves whose DC a 10 Hz high-pass removes,
// and a hard clip), optionally only within a band around a frequency while the rest passes
// unshaped, and optionally smeared by four allpass diffusers.

#include "modules/Operator.h"

namespace kirra {

class Distortion : public Operator {
  public:
    enum Position {
        kDrive = 0,
        kFrequency,
        kBandwidth,
        kType,
        kDiffuse,
        kCrossover,
        kPositionCount
    };
    enum Curve { kSymA = 0, kSymB, kSymC, kAsymA, kAsymB, kAsymC, kClip, kCurveCount };
    static constexpr int kTypeStates = 16;

    Distortion(int slot, ModuleOwner* owner);

    void setSampleRate(float sampleRate) override;
    void updateParameters() override;
    void snapToTargets() override;
    void resetState() override;
    void processSample(float& left, float& right) override;
    void processRun(float* left, float* right, int count) override {
        processEach(*this, left, right, count);
    }

    // Drive gain of a drive value: 1 (0 dB) to 10^6 (120 dB).
    static float driveGain(float value);
    // Band centre of a freq value, 20 Hz to 20 kHz.
    static float bandFrequencyHz(float value);
    // The static curve at an input (before the band split and diffuser, with the DC of the
    // asymmetric curves taken off at silence): what the editor's transfer plot draws.
    static float transferCurve(const float* positionValues, float input);

  private:
    // Delays of the four diffuser allpasses in samples.
    static constexpr int kDiffuserLengths[4] = {51, 71, 93, 121};
    static constexpr int kDiffuserMemory = 51 + 71 + 93 + 121;

    struct Channel {
        // derived targets and ramps
        LinearRamp drive;
        LinearRamp sine;    // sin of the band centre
        LinearRamp cosine;  // cos of the band centre
        LinearRamp bandQ;
        // band filter state
        float x1 = 0.0f, x2 = 0.0f, y1 = 0.0f, y2 = 0.0f;
        // DC blocker of the asymmetric curves (double: its poles sit close to the unit circle)
        double dcX1 = 0.0, dcX2 = 0.0, dcY1 = 0.0, dcY2 = 0.0;
        // diffuser lines, one after the other, each with its index counting down
        float diffuser[kDiffuserMemory] = {};
        int diffuserIndex[4] = {};
    };
    void updateChannel(Channel& channel, const Relaxed<float>* copies);
    void clearChannel(Channel& channel);
    float shape(Channel& channel, float band, float drive) const;
    float blockDc(Channel& channel, double sample) const;
    float diffuse(Channel& channel, float sample) const;
    float processChannel(Channel& channel, float sample);

    // switches and curve constants, from the base values
    int curve_ = kSymA;
    bool crossover_ = false;
    bool diffuserOn_ = false;
    float diffuserGain_ = 0.0f;
    // DC blocker coefficients (10 Hz Butterworth high-pass)
    double dcB0_ = 1.0, dcB1_ = 0.0, dcB2_ = 0.0, dcA1_ = 0.0, dcA2_ = 0.0;
    // per-channel ramps and state
    Channel channelLeft_{};
    Channel channelRight_{};
};

}  // namespace kirra
