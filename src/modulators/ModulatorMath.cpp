#include "modulators/ModulatorMath.h"

#include <algorithm>

#include "modules/ModuleMath.h"

namespace kirra {

void percentText(ModuleText& text, float value, bool withSign) {
    formatText(text, withSign ? "%.1f%%" : "%.1f", 100.0f * value);
}

float percentFromText(const char* text, float currentValue) {
    float percent;
    if (!parseNumber(text, percent)) return currentValue;
    percent = std::clamp(percent, 0.0f, 100.0f);
    return percent / 100.0f;
}

namespace {

int indexOfName(const char* text, const char* const* names, int count) {
    if (text == nullptr || names == nullptr) return -1;
    while (*text == ' ')
        ++text;
    for (int index = 0; index < count; ++index) {
        if (equalsNoCase(text, names[index])) return index;
    }
    return -1;
}

}  // namespace

float choiceFromText(const char* text, const char* const* names, int count, float currentValue,
                     const char* const* otherNames) {
    int index = indexOfName(text, names, count);
    if (index < 0) index = indexOfName(text, otherNames, count);
    return index >= 0 ? indexToValue(index, count) : currentValue;
}

}  // namespace kirra
