#pragma once
// Plays factory programs the way a host would: a program chosen through program selection, the
// standard demo signal (drums, a chord progression, a slow sweep) at 120 BPM with the transport
// running, and no sidechain connected (the plug-in then keys from the main input).

#include <memory>
#include <string>

#include "support/InProcessHost.h"

namespace testing_support {

// A plug-in at the sample rate with bank (0..2) program (0..63) selected and the state cleared.
std::unique_ptr<InProcessHost> makeProgramHost(int bank, int program, float sampleRate);

// The demo signal for the given seconds followed by a silent tail.
Stereo demoSignal(float sampleRate, double seconds, double tailSeconds);

// "A:1" .. "C:64".
std::string programLabel(int bank, int program);

}  // namespace testing_support
