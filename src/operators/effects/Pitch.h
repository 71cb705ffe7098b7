#pragma once
// Phase-vocoder pitch shifter: Hann-windowed frames of N samples at four times overlap, a
// spectrum per frame, each bin's true frequency estimated from its phase advance, bins moved by
// the pitch ratio with their phases accumulated anew, and overlap-added back. Transposes by up
// to +-24.5 semitones; the frame size (resolution) trades time smear against frequency
// resolution. The delay through the module is N samples.

#include <cstdint>
#include <vector>

#include "modules/Operator.h"
#include "operators/effects/Fft.h"

namespace kirra {

class Pitch : public Operator {
  public:
    enum Position { kSemitones = 0, kCents, kTune, kResolution, kPositionCount };

    Pitch(int slot, ModuleOwner* owner);

    void setSampleRate(float sampleRate) override;
    void updateParameters() override;
    void snapToTargets() override;
    void resetState() override;
    void processSample(float& left, float& right) override;
    void processRun(float* left, float* right, int count) override;

    // Frame size for a resolution step (0 std, 1 high, 2 highest) at a rate.
    static int frameSize(int resolution, float sampleRate);
    // Transposition in semitones of a set of position values.
    static float semitones(const float* positionValues);
    // Frame size in use (also the delay through the module in samples).
    int getFrameSize() const { return frameSize_; }

  private:
    struct Channel {
        // input ring and overlap-add output ring, frame size long
        std::vector<float> input;
        std::vector<float> output;
        // analysis phase of each bin in the last frame, synthesis phase accumulated per bin
        std::vector<float> lastPhase;
        std::vector<float> sumPhase;
        // a frame's work: each bin's magnitude, true frequency times the ratio and the bin it
        // moves to; the moved magnitudes and frequencies
        std::vector<float> magnitude;
        std::vector<float> frequency;
        std::vector<int32_t> target;
        std::vector<float> shiftedMagnitude;
        std::vector<float> shiftedFrequency;
    };
    void setFrameSize(int size);
    void clearBuffers();
    void processFrame();
    // Moves a channel's analysed bins to their shifted places.
    void shiftBins(Channel& channel);

    // settings picked up at control rate
    int resolution_ = 2;
    int frameSize_ = 512;
    // derived targets and ramps: the pitch ratio (both channels follow the left copies)
    LinearRamp ratio_;
    // the transposition the ratio's target was last worked out for, and that target
    float targetSemitones_ = 0.0f;
    float targetRatio_ = 1.0f;
    // frame memory: rings, the position in them and the samples until the next frame
    Channel channelLeft_;
    Channel channelRight_;
    int ringPosition_ = 0;
    int hopCountdown_ = 0;
    // analysis and synthesis window, transform and work arrays
    std::vector<float> window_;
    Fft fft_;
    std::vector<float> real_;
    std::vector<float> imag_;
};

}  // namespace kirra
