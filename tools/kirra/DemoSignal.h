#pragma once
// A built-in stereo test signal: four bars at 120 BPM of drums, a chord progression and a quiet
// logarithmic sine sweep, peaking at -6 dBFS. The same at every run.

#include "kirra/AudioBuffer.h"

namespace host {

AudioBuffer makeDemoSignal(double sampleRate, double seconds = 8.0);

// Deterministic stereo noise mixed with sines, for benchmarks and stress tests.
AudioBuffer makeNoiseSignal(double sampleRate, double seconds, unsigned seed = 1);

}  // namespace host
