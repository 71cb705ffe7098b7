#pragma once
// The editor's zoom: a per-user choice of 100 to 200 % in steps of 25, kept in the per-user store
// (not in programs or the chunk, since it is about the user's screen, not the sound). Without a
// stored choice the editor follows the desktop's scale, rounded down to a step.

#include <string>

namespace platform {
class UserStore;
}

namespace kirra::editor::zoom {

constexpr int kMinPercent = 100;
constexpr int kMaxPercent = 200;
constexpr int kStepPercent = 25;
constexpr int kSteps = (kMaxPercent - kMinPercent) / kStepPercent + 1;
// The per-user store's value name: the percentage as text.
constexpr const char* kStoreName = "EditorZoom";

inline int percentOfStep(int step) {
    return kMinPercent + step * kStepPercent;
}
// The step at or below a scale (1.0 is 100 %); anything unreadable is 100 %, anything above the
// largest step is the largest.
int stepBelow(double scale);
// A stored text that is a step's percentage; -1 for anything else.
int parsePercent(const std::string& text);
// The stored choice, else the desktop's scale.
int loadPercent(const platform::UserStore& store, double desktopScale);
bool storePercent(const platform::UserStore& store, int percent);

}  // namespace kirra::editor::zoom
