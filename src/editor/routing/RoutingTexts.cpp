#include "editor/routing/RoutingTexts.h"

#include <algorithm>
#include <cmath>

#include "modules/ModuleMath.h"

namespace kirra::editor {

namespace {

constexpr int kLowestGainDb = -99;

bool meansSilence(const char* text) {
    while (*text == ' ')
        ++text;
    return startsWithNoCase(text, "-oo") || startsWithNoCase(text, "-inf");
}

}  // namespace

void connectionGainText(float value, ModuleText& text) {
    if (!(value > 0.0f) || static_cast<int>(101.0f * value) == 0) {
        setText(text, "-oo");
        return;
    }
    // 20 log10 (v^2), truncated toward zero like the integer it is printed as.
    int db = static_cast<int>(40.0f * std::log10(std::min(value, 1.0f)));
    formatText(text, "%3d", std::max(db, kLowestGainDb));
}

float connectionGainValue(const char* text, float currentValue) {
    if (meansSilence(text)) return 0.0f;
    float db = 0.0f;
    if (!numberFromText(text, -200.0f, 0.0f, db)) return currentValue;
    return std::pow(10.0f, db / 40.0f);
}

void sensitivityText(float value, ModuleText& text) {
    value = sanitizeUnit(value);
    int percent = static_cast<int>(std::fabs(200.0f * value - 100.0f));
    if (percent == 0) {
        setText(text, "0");
        return;
    }
    formatText(text, "%c%d", value >= 0.5f ? '+' : '-', percent);
}

float sensitivityValue(const char* text, float currentValue) {
    float percent = 0.0f;
    if (!numberFromText(text, -100.0f, 100.0f, percent)) return currentValue;
    return (percent + 100.0f) / 200.0f;
}

int maskOf(float value, int states) {
    return valueToIndex(value, states);
}

float withBitToggled(float value, int states, int bit) {
    int mask = maskOf(value, states) ^ (1 << bit);
    return indexToValue(mask & (states - 1), states);
}

}  // namespace kirra::editor
