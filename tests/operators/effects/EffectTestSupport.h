#pragma once
// Runs one operator on its own as the engine would (control update every 32 samples, the audio
// floating-point mode) and measures what the effect tests need: decay times and spectral peaks.

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "modules/Operator.h"
#include "support/InProcessHost.h"

namespace effects_test {

using testing_support::Stereo;

// The rate the effect tests run at unless they say otherwise.
inline constexpr float kRate = 44100.0f;

std::unique_ptr<kirra::Operator> makeOperator(int type, float sampleRate = 44100.0f);
// The same with some positions set, and the rate set again so that its ramps start on them.
std::unique_ptr<kirra::Operator> makeOperator(int type, float sampleRate,
                                              const std::vector<std::pair<int, float>>& values);

class OperatorRunner {
  public:
    explicit OperatorRunner(kirra::Operator& op) : op_(op) {}
    // Called at every control update between resetModulation and updateParameters.
    std::function<void(kirra::Operator&)> modulate;

    Stereo run(const Stereo& input);
    Stereo run(const std::vector<float>& both) { return run(Stereo(both, both)); }
    Stereo silence(size_t frames) { return run(Stereo(frames)); }

  private:
    kirra::Operator& op_;
    int countdown_ = 0;
};

// Decay time to -60 dB from an impulse response: Schroeder's backward integral, a straight line
// fitted between -5 and -35 dB, extrapolated.
double decaySeconds(const std::vector<float>& impulseResponse, double sampleRate);
// Frequency of the strongest spectral peak (Hann window, interpolated between bins).
double peakFrequency(const std::vector<float>& signal, double sampleRate);

}  // namespace effects_test
