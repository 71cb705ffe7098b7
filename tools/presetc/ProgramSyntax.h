#pragma once
// A program file as written: its name and its sections with their "key = value" lines, each with
// the line it came from. Nothing here knows the engine; what the names mean is the applier's
// business.

#include <string>
#include <vector>

namespace presets {

struct Diagnostic {
    std::string file;
    int line = 0;  // 0: the file as a whole
    std::string message;
};

// A value as written: a bare number is a normalised value, anything else (quoted or not) a text.
struct Value {
    std::string text;
    bool isNumber = false;
    float number = 0.0f;
};

struct Entry {
    int line = 0;
    std::string key;  // as written, except in [slotN], where it is one of the lower-case keys
    Value value;
};

enum class SectionKind { kMain, kOperator, kModulator, kSlot, kKnob };

struct Section {
    int line = 0;
    SectionKind kind = SectionKind::kMain;
    int slot = 0;          // counted from 0: [op1] is slot 0
    std::string argument;  // [opN TYPE], [modN TYPE]: the type; [knobN "NAME"]: a valid name
    std::vector<Entry> entries;
};

struct ProgramSyntax {
    std::string name;               // empty when no valid 'program' line was found
    std::vector<Section> sections;  // in file order, which is the order they are applied in
};

}  // namespace presets
