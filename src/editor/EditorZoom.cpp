#include "editor/EditorZoom.h"

#include <cmath>
#include <cstdlib>

#include "platform/UserStore.h"

namespace kirra::editor::zoom {

namespace {

// "150" or "150\n"; a longer text is not ours.
constexpr size_t kMaxStoredBytes = 16;

}  // namespace

int stepBelow(double scale) {
    if (!std::isfinite(scale) || scale <= 0.0) return 0;
    // A hair below a step (1.4999 from a resolution of 143.99) still counts as that step.
    double steps = (scale * 100.0 - kMinPercent) / kStepPercent + 1e-6;
    if (steps <= 0.0) return 0;
    return steps >= kSteps - 1 ? kSteps - 1 : static_cast<int>(steps);
}

int parsePercent(const std::string& text) {
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str()) return -1;
    while (*end == '\n' || *end == ' ')
        ++end;
    if (*end != 0 || value < kMinPercent || value > kMaxPercent) return -1;
    if ((value - kMinPercent) % kStepPercent != 0) return -1;
    return static_cast<int>(value);
}

int loadPercent(const platform::UserStore& store, double desktopScale) {
    std::string text;
    if (store.readText(kStoreName, kMaxStoredBytes, text)) {
        int stored = parsePercent(text);
        if (stored > 0) return stored;
    }
    return percentOfStep(stepBelow(desktopScale));
}

bool storePercent(const platform::UserStore& store, int percent) {
    return parsePercent(std::to_string(percent)) > 0 &&
           store.writeText(kStoreName, std::to_string(percent));
}

}  // namespace kirra::editor::zoom
