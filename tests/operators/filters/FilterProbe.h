#pragma once
// Measuring a filter operator inside the plug-in: one slot, input straight in, output straight
// out. Responses are measured from impulse responses and compared with the operator's own
// magnitudeAt (what the plots draw) and with analytic formulas.

#include <memory>
#include <vector>

#include "modules/ModuleCatalogue.h"
#include "modules/Operator.h"
#include "support/InProcessHost.h"

namespace filter_tests {

inline constexpr int kFilterTypes[] = {kirra::kBiquad, kirra::kSVF,    kirra::kMoog,   kirra::kComb,
                                       kirra::kEQ,     kirra::kPhaser, kirra::kFormant};

class FilterProbe {
  public:
    explicit FilterProbe(int operatorType, float sampleRate = 44100.0f);

    void set(int position, float value);
    // Sets a position from a typed text, as the editor would.
    void setText(int position, const char* text);
    kirra::Operator& op();
    kirra::Plugin& plugin() { return host_->plugin(); }
    float sampleRate() const { return sampleRate_; }

    // Clears the filter, lets the control ramps settle on silence, then runs the input.
    testing_support::Stereo run(const testing_support::Stereo& input, int blockSize = 512);
    // Goes on from where the previous run stopped.
    testing_support::Stereo resume(const testing_support::Stereo& input, int blockSize = 512);
    // Left-channel response to a unit impulse.
    std::vector<float> impulseResponse(size_t frames);
    // The response the plot draws for the current base values.
    double plotted(double frequencyHz);

  private:
    std::unique_ptr<testing_support::InProcessHost> host_;
    float sampleRate_;
};

// The frequency knobs' scale, 20 * 1000^v Hz, both ways.
float frequencyValue(double hertz);
double knobHertz(float value);

// Magnitude of the discrete-time Fourier transform of a finite response at one frequency.
double responseMagnitude(const std::vector<float>& response, double frequencyHz, double sampleRate);
std::vector<double> logFrequencies(double lowestHz, double highestHz, int count);

// A measured magnitude against the expected one: within toleranceDb where the expected is above
// -60 dB, within 0.001 absolute below (where single-precision output is mostly rounding).
void expectSameMagnitude(double measured, double expected, double toleranceDb, double frequencyHz);

// The measured impulse response against the plotted response at log-spaced frequencies.
void expectPlotMatchesSound(FilterProbe& probe, size_t frames, double toleranceDb,
                            double lowestHz = 20.0, double highestHz = 20000.0, int count = 40);

}  // namespace filter_tests
