#pragma once
// Runs one modulator on its own the way the engine drives it: song position and tempo at every
// block start, the modulation sequence and updateParameters every 32 samples (the first at the
// 32nd sample), one generateSample per sample, optional signal taps.

#include <memory>
#include <vector>

#include "modules/Modulator.h"
#include "modules/SignalTaps.h"
#include "support/InProcessHost.h"

namespace testing_support {

// The rate the modulator tests run at unless they say otherwise.
inline constexpr float kRate = 44100.0f;

class ModulatorRunner {
  public:
    ModulatorRunner(std::unique_ptr<kirra::Modulator> module, float sampleRate);
    // The module reads the runner's own tap arrays, so the runner stays where it was built.
    ModulatorRunner(ModulatorRunner&&) = delete;

    kirra::Modulator& module() { return *module_; }

    void setTempo(float bpm) { tempoBpm_ = bpm; }
    // Position at the next block start; it advances with the tempo while playing.
    void setSongPosition(double quarterNotes, bool playing = true);
    // Added to a position's left and right copies at every control update (then clamped).
    void setModulation(int position, float left, float right);
    void clearModulation() { modulations_.clear(); }
    // The signal the modulator finds in one tap (the others stay silent).
    void setTapSignal(int tap, const Stereo* signal);

    Stereo run(size_t frames, int blockSize = 512);

  private:
    struct Modulation {
        int position;
        float left;
        float right;
    };
    void controlUpdate();

    std::unique_ptr<kirra::Modulator> module_;
    float sampleRate_;
    float tempoBpm_ = 120.0f;
    double songPosition_ = 0.0;
    bool playing_ = false;
    std::vector<Modulation> modulations_;
    int controlCounter_ = 0;
    float tapsLeft_[kirra::kTapCount] = {};
    float tapsRight_[kirra::kTapCount] = {};
    int tap_ = kirra::kTapInput;
    const Stereo* tapSignal_ = nullptr;
    size_t tapFrame_ = 0;
};

// A modulator of a catalogue type, ready at a sample rate, inside a runner.
ModulatorRunner makeModulatorRunner(int type, float sampleRate = 44100.0f);

}  // namespace testing_support
