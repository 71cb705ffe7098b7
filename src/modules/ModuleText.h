#pragma once
// Texts of modules and of the engine: fixed buffers, decibel texts and lenient number reading
// for typed-in values.

#include <cstddef>

namespace kirra {

constexpr int kModuleTextBytes = 64;
using ModuleText = char[kModuleTextBytes];

// printf into a fixed buffer, always terminated, never overrunning.
void formatText(char* text, size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
template <size_t N, typename... Args>
void formatText(char (&text)[N], const char* format, Args... args) {
    formatText(static_cast<char*>(text), N, format, args...);
}
void setText(ModuleText& text, const char* source);

// "-oo" for gains at or below 0, else 20 log10(gain) with the given printf format.
void decibelText(ModuleText& text, float gain, const char* format);

// Reads the leading number of a typed text (blanks allowed before it); false when there is none.
// Accepts only finite values.
bool parseNumber(const char* text, float& value);
// The number after the first occurrence of a character, or false.
bool parseNumberAfter(const char* text, char marker, float& value);
// Case-insensitive comparison of a text's start with a prefix.
bool startsWithNoCase(const char* text, const char* prefix);
bool equalsNoCase(const char* text, const char* other);

// The leading number of a text limited to lowest..highest; false when the text has none.
bool numberFromText(const char* text, float lowest, float highest, float& number);
// A percentage 0..100 read back as 0..1; the current value when the text holds no number.
float percentFromText(const char* text, float currentValue);
// A typed name of a discrete parameter's state (any case, blanks around it) read back as the
// state's stored value; the current value when no name matches.
float choiceFromText(const char* text, const char* const* names, int count, float currentValue);

}  // namespace kirra
