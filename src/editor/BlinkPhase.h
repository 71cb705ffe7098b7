#pragma once
// The editor's blink phase: 0 to 19, one step per 50 ms idle, so one cycle per second. Things
// that blink show their alternate look in the second half.

namespace kirra::editor {

constexpr int kBlinkPhases = 20;

inline bool isBlinkAlternate(int phase) {
    return phase >= kBlinkPhases / 2;
}

}  // namespace kirra::editor
