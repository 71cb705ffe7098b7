#pragma once
// Plays factory programs the way a host would: a program chosen through program selection, the
// standard demo signal (drums, a chord progression, a slow sweep) at 120 BPM with the transport
// running, and no sidechain connected (the plug-in then keys from the main input).

#include <memory>
#include <string>

#include "support/InProcessHost.h"

namespace testing_support {

struct ProgramRun {
    Stereo input;
    Stereo output;
    size_t signalFrames = 0;  // the input's length before its silent tail
};

// A plug-in at the sample rate with bank (0..2) program (0..63) selected and the state cleared.
std::unique_ptr<InProcessHost> makeProgramHost(int bank, int program, float sampleRate);

// The demo signal for the given seconds followed by a silent tail.
Stereo demoSignal(float sampleRate, double seconds, double tailSeconds);

ProgramRun renderProgram(int bank, int program, float sampleRate, double seconds = 3.0,
                         double tailSeconds = 1.0);

// How far the output is from the input, as the energy of what is left after the best match of
// the input to the output (any small latency up to the limiter's look-ahead, any gain), relative
// to the output's energy, in dB. Very negative: the program only delays or scales the signal.
double residualAgainstInputDb(const ProgramRun& run);

// "A:1" .. "C:64".
std::string programLabel(int bank, int program);

}  // namespace testing_support
