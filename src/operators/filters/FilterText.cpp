#include "operators/filters/FilterText.h"

#include <cstring>

#include "modules/ModuleMath.h"
#include "operators/filters/FilterMath.h"

namespace kirra {

void frequencyDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.0f", frequencyFromValue(value));
}

void frequencyEditorText(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.0f Hz", frequencyFromValue(value));
}

namespace {

bool endsWithNoCase(const char* text, size_t length, const char* suffix) {
    size_t suffixLength = std::strlen(suffix);
    return length >= suffixLength && equalsNoCase(text + length - suffixLength, suffix);
}

}  // namespace

float frequencyFromText(const Module& /*module*/, const char* text, float currentValue) {
    float hertz;
    if (!parseNumber(text, hertz)) return currentValue;
    size_t length = std::strlen(text);
    while (length > 0 && text[length - 1] == ' ')
        --length;
    if (endsWithNoCase(text, length, "k") || (length > 3 && endsWithNoCase(text, length, "khz"))) {
        hertz *= 1000.0f;
    }
    return valueFromFrequency(hertz);
}

void morphDisplay(const Module& /*module*/, float value, ModuleText& text) {
    int shareOfB = static_cast<int>(100.0f * sanitizeUnit(value));
    formatText(text, "%d:%d", 100 - shareOfB, shareOfB);
}

void morphEditorText(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.1f", 100.0f * value);
}

}  // namespace kirra
