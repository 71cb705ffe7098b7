#pragma once
// The pitch shifter's work on the bins of a frame, eight or sixteen at a time: the analysis of
// both channels' spectra (phase, magnitude, true frequency, where each bin moves) and the
// synthesis of both from the moved bins.

#include <cstdint>

namespace kirra {
namespace pitch_bins {

// What the analysis writes for one channel's bins 0 .. half (arrays padded to whole vectors past
// half).
struct ChannelAnalysis {
    float* lastPhase;
    float* magnitude;  // the analysis scale times the root of re^2 + im^2
    float* frequency;  // true frequency (radians per hop) times the ratio
    int32_t* target;   // the bin each bin moves to
};

// What the analysis of both channels reads and writes: the transform of the frame, left as its
// real part and right as its imaginary, with index size repeating index 0, so that the mirror
// size - k of every bin k (bin 0 its own) reads as a whole vector.
struct BinAnalysis {
    const float* real;
    const float* imag;
    int size;
    ChannelAnalysis channels[2];
    float ratio;
    float scale;
};

// One channel's shifted bins as the synthesis reads them; the shifted bins are cleared for the
// next frame as they are read.
struct ChannelSynthesis {
    float* sumPhase;
    float* shiftedFrequency;
    float* shiftedMagnitude;
};

// What the synthesis of both channels reads and writes: the spectrum both real signals make
// together (left the real part, right the imaginary), bins 0 .. size - 1 and index size spare.
struct BinSynthesis {
    ChannelSynthesis channels[2];
    float* real;
    float* imag;
    int size;
};

void analyseBins(const BinAnalysis& bins);
void synthesiseBins(const BinSynthesis& bins);

}  // namespace pitch_bins
}  // namespace kirra
