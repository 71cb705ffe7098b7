#include "presetc/ProgramParser.h"

#include <cstdlib>
#include <cstring>
#include <sstream>

#include "engine/ParameterIndex.h"
#include "engine/ProgramStore.h"
#include "presetc/TextMatching.h"

namespace presets {

using namespace kirra::param;

namespace {

// Everything after a '#' that is not inside quotes is a comment.
std::string withoutComment(const std::string& line) {
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        if (line[i] == '#' && !quoted) return line.substr(0, i);
    }
    return line;
}

std::string unquoted(const std::string& text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return text.substr(1, text.size() - 2);
    return text;
}

Value parseValue(const std::string& raw) {
    Value value;
    std::string text = trim(raw);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        value.text = unquoted(text);
        return value;
    }
    value.text = text;
    char* end = nullptr;
    double number = std::strtod(text.c_str(), &end);
    if (!text.empty() && end == text.c_str() + text.size()) {
        value.isNumber = true;
        value.number = static_cast<float>(number);
    }
    return value;
}

class Parser {
  public:
    Parser(const std::string& fileName, std::vector<Diagnostic>& diagnostics)
        : fileName_(fileName), diagnostics_(diagnostics) {}

    ProgramSyntax parse(const std::string& text) {
        std::istringstream lines(text);
        std::string line;
        while (std::getline(lines, line)) {
            ++lineNumber_;
            line = trim(withoutComment(line));
            if (line.empty()) continue;
            if (line.front() == '[') {
                openSection(line);
                continue;
            }
            size_t equals = line.find('=');
            if (equals == std::string::npos) {
                error("expected 'key = value' or a [section]");
                continue;
            }
            addEntry(trim(line.substr(0, equals)), parseValue(line.substr(equals + 1)));
        }
        if (!hasProgramLine_) error("the program has no 'program = \"name\"' line", 0);
        return std::move(syntax_);
    }

  private:
    // Where a key line lands: above the first section, in the last section opened, or nowhere
    // (under a header that was already reported).
    enum class Place { kTop, kSection, kDropped };

    void error(const std::string& message, int line = -1) {
        diagnostics_.push_back({fileName_, line < 0 ? lineNumber_ : line, message});
    }

    // [opN ...] style headers: the slot number counted from 1, 0 when the header is not of this
    // kind, -1 when it is but the number is not one of the slots (reported).
    int numbered(const std::string& head, const char* prefix, int count) {
        size_t length = std::strlen(prefix);
        if (head.compare(0, length, prefix) != 0) return 0;
        int number = std::atoi(head.c_str() + length);
        // Exactly the digits of the number: no leading zero, nothing after it.
        if (number < 1 || number > count || head.size() != length + (number >= 10 ? 2 : 1)) {
            error("no section [" + head + "]: numbers run from 1 to " + std::to_string(count));
            return -1;
        }
        return number;
    }

    void openSection(const std::string& line) {
        place_ = Place::kDropped;
        if (line.back() != ']') {
            error("a section header ends with ']'");
            return;
        }
        std::string inside = trim(line.substr(1, line.size() - 2));
        size_t space = inside.find_first_of(" \t");
        std::string head = lower(inside.substr(0, space));
        Section section;
        section.line = lineNumber_;
        section.argument = space == std::string::npos ? "" : unquoted(trim(inside.substr(space)));
        const struct {
            const char* prefix;
            int count;
            SectionKind kind;
        } kNumbered[] = {{"op", kSlotCount, SectionKind::kOperator},
                         {"mod", kSlotCount, SectionKind::kModulator},
                         {"slot", kModulationSlots, SectionKind::kSlot},
                         {"knob", kKnobCount, SectionKind::kKnob}};
        int number = 0;
        if (head == "main") {
            section.kind = SectionKind::kMain;
        } else {
            for (const auto& candidate : kNumbered) {
                number = numbered(head, candidate.prefix, candidate.count);
                if (number == 0) continue;
                if (number < 0) return;
                section.kind = candidate.kind;
                section.slot = number - 1;
                break;
            }
            if (number == 0) {
                error("unknown section [" + inside + "]");
                return;
            }
        }
        if (section.kind == SectionKind::kKnob && !validKnobName(section.argument))
            section.argument.clear();
        syntax_.sections.push_back(std::move(section));
        place_ = Place::kSection;
    }

    bool validKnobName(const std::string& name) {
        if (name.size() > static_cast<size_t>(kKnobNameLength)) {
            error("a knob name has at most " + std::to_string(kKnobNameLength) + " characters: '" +
                  name + "'");
            return false;
        }
        for (char c : name) {
            int code = static_cast<unsigned char>(c);
            if (code < 32 || code > 126) {
                error("a knob name holds printable ASCII characters only");
                return false;
            }
        }
        return true;
    }

    void addEntry(const std::string& key, const Value& value) {
        if (place_ == Place::kDropped) return;
        if (place_ == Place::kTop) {
            if (sameText(key, "program")) {
                setProgramName(value.text);
            } else {
                error("'" + key + "' belongs in a section; only 'program' stands at the top");
            }
            return;
        }
        Section& section = syntax_.sections.back();
        Entry entry{lineNumber_, key, value};
        if (section.kind == SectionKind::kSlot) {
            entry.key = lower(key);
            if (entry.key != "source" && entry.key != "destination" && entry.key != "sensitivity" &&
                entry.key != "muted") {
                error("a slot section takes source, destination, sensitivity and muted");
                return;
            }
        } else if (section.kind == SectionKind::kKnob && !sameText(key, "value")) {
            error("a knob section takes 'value' only");
            return;
        }
        section.entries.push_back(std::move(entry));
    }

    void setProgramName(const std::string& text) {
        hasProgramLine_ = true;
        if (text.empty() || text.size() > static_cast<size_t>(kirra::Program::kNameLength)) {
            error("a program name has 1 to " + std::to_string(kirra::Program::kNameLength) +
                  " characters");
            return;
        }
        syntax_.name = text;
    }

    std::string fileName_;
    std::vector<Diagnostic>& diagnostics_;
    int lineNumber_ = 0;
    Place place_ = Place::kTop;
    bool hasProgramLine_ = false;
    ProgramSyntax syntax_;
};

}  // namespace

ProgramSyntax parseProgram(const std::string& text, const std::string& fileName,
                           std::vector<Diagnostic>& diagnostics) {
    return Parser(fileName, diagnostics).parse(text);
}

}  // namespace presets
