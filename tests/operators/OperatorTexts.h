#pragma once
// The host-visible texts of an operator checked from tables: its name, the destinations it
// offers, the host's display and the editor's text of values, and typed texts read back.

#include <initializer_list>

#include "modules/Operator.h"

namespace operator_tests {

// Name, parameter count and the positions offered as modulation destinations.
void expectIdentity(const kirra::Operator& op, const char* name, int parameters,
                    std::initializer_list<int> destinations);
// Host display of the stored values.
struct DisplayCase {
    int position;
    const char* display;
};
void expectDisplays(const kirra::Operator& op, std::initializer_list<DisplayCase> cases);
// Host display (with the value as base value) and editor text of a position, in order; a null
// text is not checked.
struct TextCase {
    int position;
    float value;
    const char* display;
    const char* editor;
};
void expectTexts(kirra::Operator& op, std::initializer_list<TextCase> cases);
// Typed texts read back, from a current value of 0.3.
struct EntryCase {
    int position;
    const char* typed;
    float value;
};
void expectEntries(const kirra::Operator& op, std::initializer_list<EntryCase> cases);

}  // namespace operator_tests
