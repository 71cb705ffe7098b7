#include "operators/effects/EffectText.h"

#include <cctype>
#include <cmath>
#include <cstring>

#include "modules/NoteValues.h"

namespace kirra {

namespace {

void sideText(float value, ModuleText& text, const char* centre, const char* leftFormat,
              const char* rightFormat) {
    if (static_cast<int>(200.0f * value + 0.5f) == 100) {
        setText(text, centre);
    } else if (value < 0.5f) {
        formatText(text, sizeof(ModuleText), leftFormat, (0.5f - value) * 200.0f);
    } else {
        formatText(text, sizeof(ModuleText), rightFormat, (value - 0.5f) * 200.0f);
    }
}

float cube(float value) {
    return value * value * value;
}

const char* skipBlanks(const char* text) {
    while (*text == ' ')
        ++text;
    return text;
}

}  // namespace

void balanceDisplay(const Module& /*module*/, float value, ModuleText& text) {
    sideText(value, text, "C", "L:%.0f", "R:%.0f");
}

void balanceEditorText(const Module& /*module*/, float value, ModuleText& text) {
    sideText(value, text, "CENTER", "LEFT:%.0f", "RIGHT:%.0f");
}

float balanceFromText(const Module& /*module*/, const char* text, float /*currentValue*/) {
    if (text == nullptr || text[0] == 0) return 0.5f;
    int side = std::toupper(static_cast<unsigned char>(text[0]));
    if (side != 'L' && side != 'R') return 0.5f;
    float amount = 0.0f;
    const char* colon = std::strchr(text, ':');
    if (!parseNumber(colon != nullptr ? colon + 1 : text + 1, amount)) amount = 0.0f;
    amount = amount < 0.0f ? 0.0f : (amount > 100.0f ? 100.0f : amount);
    return side == 'L' ? 0.5f - amount / 200.0f : 0.5f + amount / 200.0f;
}

void offOnDisplay(const Module& /*module*/, float value, ModuleText& text) {
    setText(text, valueToIndex(value, 2) == 1 ? "on" : "off");
}

float offOnFromText(const Module& /*module*/, const char* text, float currentValue) {
    text = skipBlanks(text);
    if (startsWithNoCase(text, "on")) return indexToValue(1, 2);
    if (startsWithNoCase(text, "off")) return indexToValue(0, 2);
    return currentValue;
}

void cubicGainDisplay(const Module& /*module*/, float value, ModuleText& text) {
    decibelText(text, cube(value), "%.0f");
}

float cubicGainFromText(const Module& /*module*/, const char* text, float currentValue) {
    text = skipBlanks(text);
    if (startsWithNoCase(text, "-oo")) return 0.0f;
    float decibels;
    if (!parseNumber(text, decibels)) return currentValue;
    if (decibels < -100.0f) return 0.0f;
    return std::cbrt(std::pow(10.0f, minOf(decibels, 0.0f) / 20.0f));
}

float choiceByPrefix(const char* text, const char* const* names, int count, int states,
                     float currentValue) {
    text = skipBlanks(text);
    int chosen = -1;
    size_t chosenLength = 0;
    for (int index = 0; index < count; ++index) {
        const size_t length = std::strlen(names[index]);
        if (startsWithNoCase(text, names[index]) && (chosen < 0 || length > chosenLength)) {
            chosen = index;
            chosenLength = length;
        }
    }
    return chosen >= 0 ? indexToValue(chosen, states) : currentValue;
}

}  // namespace kirra
