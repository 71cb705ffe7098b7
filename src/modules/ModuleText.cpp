#include "modules/ModuleText.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "modules/ModuleMath.h"

namespace kirra {

void formatText(char* text, size_t size, const char* format, ...) {
    if (text == nullptr || size == 0) return;
    va_list args;
    va_start(args, format);
    int written = std::vsnprintf(text, size, format, args);
    va_end(args);
    if (written < 0) text[0] = 0;
}

void setText(ModuleText& text, const char* source) {
    formatText(text, "%s", source);
}

void decibelText(ModuleText& text, float gain, const char* format) {
    if (!(gain > 0.0f)) {
        setText(text, "-oo");
        return;
    }
    formatText(text, sizeof(ModuleText), format, 20.0 * std::log10(static_cast<double>(gain)));
}

bool parseNumber(const char* text, float& value) {
    if (text == nullptr) return false;
    char* end = nullptr;
    double parsed = std::strtod(text, &end);
    if (end == text || !std::isfinite(parsed)) return false;
    value = static_cast<float>(parsed);
    return std::isfinite(value);
}

bool parseNumberAfter(const char* text, char marker, float& value) {
    if (text == nullptr) return false;
    const char* found = std::strchr(text, marker);
    return found != nullptr && parseNumber(found + 1, value);
}

bool startsWithNoCase(const char* text, const char* prefix) {
    if (text == nullptr || prefix == nullptr) return false;
    for (; *prefix != 0; ++prefix, ++text) {
        if (*text == 0) return false;
        if (std::tolower(static_cast<unsigned char>(*text)) !=
            std::tolower(static_cast<unsigned char>(*prefix))) {
            return false;
        }
    }
    return true;
}

bool equalsNoCase(const char* text, const char* other) {
    return startsWithNoCase(text, other) && std::strlen(text) == std::strlen(other);
}

bool numberFromText(const char* text, float lowest, float highest, float& number) {
    if (!parseNumber(text, number)) return false;
    number = std::clamp(number, lowest, highest);
    return true;
}

float percentFromText(const char* text, float currentValue) {
    float percent;
    if (!numberFromText(text, 0.0f, 100.0f, percent)) return currentValue;
    return percent / 100.0f;
}

float choiceFromText(const char* text, const char* const* names, int count, float currentValue) {
    if (text == nullptr) return currentValue;
    while (*text == ' ')
        ++text;
    size_t length = std::strlen(text);
    while (length > 0 && text[length - 1] == ' ')
        --length;
    for (int step = 0; step < count; ++step) {
        if (std::strlen(names[step]) == length && startsWithNoCase(text, names[step])) {
            return indexToValue(step, count);
        }
    }
    return currentValue;
}

}  // namespace kirra
