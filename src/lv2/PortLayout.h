#pragma once
// The ports of the LV2 plug-in in index order: a control input for each host parameter at the
// parameter's own index, so that a port number is the number the VST host uses, then the audio
// ports, the event input and the reported delay.

#include <cstdint>
#include <string>

#include "engine/ParameterIndex.h"

namespace kirra::lv2 {

constexpr uint32_t kParameterPorts = param::kHostParameterCount;
constexpr uint32_t kAudioInLeft = kParameterPorts;
constexpr uint32_t kAudioInRight = kAudioInLeft + 1;
constexpr uint32_t kSidechainLeft = kAudioInLeft + 2;
constexpr uint32_t kSidechainRight = kAudioInLeft + 3;
constexpr uint32_t kAudioOutLeft = kAudioInLeft + 4;
constexpr uint32_t kAudioOutRight = kAudioInLeft + 5;
constexpr uint32_t kEventsIn = kAudioInLeft + 6;
constexpr uint32_t kLatencyOut = kAudioInLeft + 7;
constexpr uint32_t kPortCount = kLatencyOut + 1;

// Largest delay the latency port can report: the longest dry delay and the longest look-ahead.
constexpr int kLongestLatency = 32768 + 512;

// A parameter port's symbol (lower case, digits and '_', unique) and its name. Hosts keep
// symbols in sessions, so they come from the parameter's host name or, where that depends on the
// module in the slot or is empty, from the slot and position.
std::string parameterSymbol(int index);
std::string parameterPortName(int index);
// The value a parameter port starts at: the start-up state, the first factory program as a
// fresh instance applies it.
float publishedDefault(int index);
// Spare parameters keep their place in programs but do nothing, so hosts need not show them.
bool isHiddenParameter(int index);

}  // namespace kirra::lv2
