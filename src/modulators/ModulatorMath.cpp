#include "modulators/ModulatorMath.h"

namespace kirra {

void sensitivityDisplay(const Module& /*module*/, float value, ModuleText& text) {
    decibelText(text, sensitivityGain(value), "%.0f");
}

bool gainFromDecibelText(const char* text, float& gain) {
    const char* start = text;
    while (*start == ' ')
        ++start;
    if (startsWithNoCase(start, "-oo")) {
        gain = 0.0f;
        return true;
    }
    float decibels;
    if (!parseNumber(text, decibels)) return false;
    gain = std::pow(10.0f, decibels / 20.0f);
    return true;
}

float sensitivityFromText(const Module& /*module*/, const char* text, float currentValue) {
    float gain;
    if (!gainFromDecibelText(text, gain)) return currentValue;
    return sanitizeUnit(std::sqrt(std::sqrt(gain / kMaxSensitivity)));
}

}  // namespace kirra
