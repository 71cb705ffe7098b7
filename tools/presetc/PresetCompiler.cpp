#include "presetc/PresetCompiler.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "engine/FlatProgram.h"
#include "engine/ModulationNames.h"
#include "engine/ParameterTable.h"
#include "engine/Plugin.h"
#include "engine/ProgramStore.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"

namespace presets {

using namespace kirra::param;

namespace {

intptr_t silentHost(vst::AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == vst::audioMasterVersion ? 2400 : 0;
}

std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string trim(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

bool sameText(const std::string& a, const std::string& b) {
    return lower(trim(a)) == lower(trim(b));
}

// Everything after a '#' that is not inside quotes is a comment.
std::string withoutComment(const std::string& line) {
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') quoted = !quoted;
        if (line[i] == '#' && !quoted) return line.substr(0, i);
    }
    return line;
}

// A value as written: a bare number is a normalised value, anything else (quoted or not) a text.
struct Value {
    std::string text;
    bool isNumber = false;
    float number = 0.0f;
};

Value parseValue(const std::string& raw) {
    Value value;
    std::string text = trim(raw);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        value.text = text.substr(1, text.size() - 2);
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

bool parseDecimal(const std::string& text, double& number) {
    std::string clean = trim(text);
    char* end = nullptr;
    number = std::strtod(clean.c_str(), &end);
    if (end == clean.c_str()) return false;
    std::string unit = lower(trim(end));
    // A unit after the number is allowed for readability.
    return unit.empty() || unit == "db" || unit == "%" || unit == "bpm" || unit == "smpl" ||
           unit == "samples" || unit == "/16";
}

int discreteStates(int index) {
    if (index == kPower) return 2;
    if (index >= kOperatorBypass1 && index < kModulatorBypass1 + kSlotCount) return 2;
    if (index == kOutLimiter) return kLimiterStates;
    if (index == kTempoSync) return kTempoSyncStates;
    if (index == kOpLrMs) return kOpLrMsStates;
    if (index == kOpInv) return kOpInvStates;
    if (index == kSlotStatus) return kSlotStatusStates;
    return 0;
}

bool isLevel(int index) {
    return index == kInput || index == kOutput;
}
bool isRouting(int index) {
    return index >= kRoutingFirst && index < kRoutingFirst + kRoutingCount;
}

class ProgramCompiler {
  public:
    ProgramCompiler(kirra::Plugin& plugin, const std::string& fileName,
                    std::vector<Diagnostic>& diagnostics)
        : plugin_(plugin), fileName_(fileName), diagnostics_(diagnostics) {}

    bool compile(const std::string& text, CompiledProgram& program) {
        kirra::Program flat;
        flat.setName("");
        const auto flatValues = kirra::flatProgramValues();
        std::copy(std::begin(flatValues.values), std::end(flatValues.values), flat.values);
        plugin_.applyPreset(flat);
        std::istringstream lines(text);
        std::string line;
        while (std::getline(lines, line)) {
            ++lineNumber_;
            line = trim(withoutComment(line));
            if (line.empty()) continue;
            if (line.front() == '[') {
                openSection(line);
            } else {
                size_t equals = line.find('=');
                if (equals == std::string::npos) {
                    error("expected 'key = value' or a [section]");
                    continue;
                }
                assign(trim(line.substr(0, equals)), parseValue(line.substr(equals + 1)));
            }
        }
        if (!hasName_) error("the program has no 'program = \"name\"' line", 0);
        const kirra::Program& result = plugin_.getPrograms().current();
        program.name = name_;
        for (int index = 0; index < kProgramParameterCount; ++index) {
            program.values[index] = result.values[index];
        }
        return errors_ == 0;
    }

  private:
    enum class Section { kTop, kMain, kOperator, kModulator, kSlot, kKnob };

    void error(const std::string& message, int line = -1) {
        diagnostics_.push_back({fileName_, line < 0 ? lineNumber_ : line, message});
        ++errors_;
    }

    void openSection(const std::string& line) {
        if (line.back() != ']') {
            error("a section header ends with ']'");
            return;
        }
        std::string inside = trim(line.substr(1, line.size() - 2));
        size_t space = inside.find_first_of(" \t");
        std::string head = lower(inside.substr(0, space));
        std::string rest = space == std::string::npos ? "" : trim(inside.substr(space));
        if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') {
            rest = rest.substr(1, rest.size() - 2);
        }
        section_ = Section::kTop;
        int number = 0;
        auto numbered = [&](const char* prefix, int count) {
            size_t length = std::strlen(prefix);
            if (head.compare(0, length, prefix) != 0) return false;
            number = std::atoi(head.c_str() + length);
            if (number < 1 || number > count || head.size() != length + (number >= 10 ? 2 : 1)) {
                error("no section [" + head + "]: numbers run from 1 to " + std::to_string(count));
                number = 0;
                return false;
            }
            return true;
        };
        if (head == "main") {
            section_ = Section::kMain;
        } else if (numbered("op", kSlotCount)) {
            section_ = Section::kOperator;
            slot_ = number - 1;
            setType(kOperatorType1 + slot_, rest, true);
        } else if (numbered("mod", kSlotCount)) {
            section_ = Section::kModulator;
            slot_ = number - 1;
            setType(kModulatorType1 + slot_, rest, false);
        } else if (numbered("slot", kModulationSlots)) {
            section_ = Section::kSlot;
            slot_ = number - 1;
        } else if (numbered("knob", kKnobCount)) {
            section_ = Section::kKnob;
            slot_ = number - 1;
            setKnobName(rest);
        } else if (number == 0 && errors_ == 0) {
            error("unknown section [" + inside + "]");
        }
    }

    void setType(int index, const std::string& typeName, bool isOperator) {
        int count = isOperator ? static_cast<int>(kirra::kOperatorTypeCount)
                               : static_cast<int>(kirra::kModulatorTypeCount);
        for (int type = 0; type < count; ++type) {
            const auto& entry =
                isOperator ? kirra::operatorCatalogue(type) : kirra::modulatorCatalogue(type);
            if (sameText(typeName, entry.shortName)) {
                plugin_.setParameter(index, kirra::indexToValue(type, kirra::kModuleTypeStates));
                return;
            }
        }
        error("unknown module type '" + typeName + "'");
        section_ = Section::kTop;
    }

    void setKnobName(const std::string& knobName) {
        if (knobName.size() > kKnobNameLength) {
            error("a knob name has at most 8 characters: '" + knobName + "'");
            return;
        }
        for (int j = 0; j < kKnobNameLength; ++j) {
            int code =
                j < static_cast<int>(knobName.size()) ? static_cast<unsigned char>(knobName[j]) : 0;
            if (code != 0 && (code < 32 || code > 126)) {
                error("a knob name holds printable ASCII characters only");
                return;
            }
            plugin_.setParameter(kKnobName1 + kKnobNameLength * slot_ + j,
                                 kirra::indexToValue(code, kKnobCharacterStates));
        }
    }

    void assign(const std::string& key, const Value& value) {
        switch (section_) {
            case Section::kTop:
                if (sameText(key, "program")) {
                    setProgramName(value.text);
                } else {
                    error("'" + key + "' belongs in a section; only 'program' stands at the top");
                }
                break;
            case Section::kMain:
                assignEngineParameter(key, value);
                break;
            case Section::kOperator:
            case Section::kModulator:
                assignModulePosition(key, value);
                break;
            case Section::kSlot:
                assignSlot(key, value);
                break;
            case Section::kKnob:
                if (!sameText(key, "value")) {
                    error("a knob section takes 'value' only");
                } else {
                    setChecked(kKnob1 + slot_, value, percentOf(value));
                }
                break;
        }
    }

    void setProgramName(const std::string& text) {
        if (text.empty() || text.size() > kirra::Program::kNameLength) {
            error("a program name has 1 to 24 characters");
            return;
        }
        name_ = text;
        hasName_ = true;
        plugin_.setProgramName(text.c_str());
    }

    // Sets a normalised value, or reports it out of range.
    void setChecked(int index, const Value& value, float fromText) {
        float normalised = value.isNumber ? value.number : fromText;
        if (!(normalised >= 0.0f && normalised <= 1.0f)) {
            error(value.isNumber ? "value " + value.text + " is outside 0..1"
                                 : "'" + value.text + "' is not a value of this parameter");
            return;
        }
        plugin_.setParameter(index, normalised);
    }

    float percentOf(const Value& value) {
        double percent;
        return !value.isNumber && parseDecimal(value.text, percent) ? percent / 100.0 : NAN;
    }

    // The engine's own parameters that a program sets by name in [main]; types, module
    // positions, slots and knobs have sections of their own.
    static bool isMainParameter(int index) {
        return index <= kKnob1 + kKnobCount - 1 || (index >= kDryDelay && index <= kPpqOffset) ||
               (index >= kOperatorBypass1 && index < kModulatorBypass1 + kSlotCount) ||
               (index >= kOutLimiter && index <= kOpInv);
    }

    void assignEngineParameter(const std::string& key, const Value& value) {
        for (int index = 0; index < kProgramParameterCount; ++index) {
            if (!isMainParameter(index)) continue;
            kirra::ModuleText name;
            kirra::engineParameterName(index, name);
            if (name[0] == 0 || !sameText(key, name)) continue;
            setChecked(index, value,
                       value.isNumber ? 0.0f : engineValueFromText(index, value.text));
            return;
        }
        error("no parameter '" + key + "' in [main]");
    }

    float engineValueFromText(int index, const std::string& text) {
        double number = 0.0;
        const bool isMinusInfinity = sameText(text, "-oo");
        if (int states = discreteStates(index)) {
            kirra::DisplayContext context;
            for (int state = 0; state < states; ++state) {
                kirra::ModuleText display;
                float candidate = kirra::indexToValue(state, states);
                kirra::engineParameterDisplay(index, candidate, context, display);
                if (sameText(text, display)) return candidate;
            }
            return NAN;
        }
        if ((isLevel(index) || isRouting(index)) && isMinusInfinity) return 0.0f;
        if (!parseDecimal(text, number)) return NAN;
        if (isLevel(index)) return std::sqrt(std::pow(10.0, number / 20.0) / 4.0);
        if (isRouting(index)) return std::sqrt(std::pow(10.0, number / 20.0));
        if (index == kMix || (index >= kKnob1 && index < kKnob1 + kKnobCount))
            return number / 100.0;
        if (index == kTempo) return (number - 30.0) / 270.0;
        if (index == kPpqOffset) return (std::floor(number) + 0.5) / 16.0;
        if (index == kDryDelay)
            return kirra::indexToValue(static_cast<int>(number) * 4, kDryDelayStates);
        return NAN;
    }

    kirra::Module* currentModule() {
        return section_ == Section::kOperator
                   ? static_cast<kirra::Module*>(plugin_.getOperator(slot_))
                   : plugin_.getModulator(slot_);
    }

    void assignModulePosition(const std::string& key, const Value& value) {
        const bool isOperator = section_ == Section::kOperator;
        if (sameText(key, "bypass")) {
            int index = (isOperator ? kOperatorBypass1 : kModulatorBypass1) + slot_;
            setChecked(index, value, engineValueFromText(index, value.text));
            return;
        }
        std::lock_guard<platform::EngineMutex> lock(plugin_.getEngineMutex());
        kirra::Module* module = currentModule();
        for (int position = 0; position < module->getPositionCount(); ++position) {
            kirra::ModuleText name;
            module->getParameterName(position, name);
            if (std::string(name) == "---" || !sameText(key, name)) continue;
            int index = isOperator ? operatorParameter(slot_, position)
                                   : modulatorParameter(slot_, position);
            float fromText = NAN;
            if (!value.isNumber) {
                // A text that means nothing leaves the current value, whichever it is.
                float low = module->textToValue(position, value.text.c_str(), 0.25f);
                float high = module->textToValue(position, value.text.c_str(), 0.75f);
                if (low == high) fromText = low;
            }
            setChecked(index, value, fromText);
            return;
        }
        kirra::ModuleText type;
        module->getName(type);
        error("the " + std::string(type) + " in this slot has no parameter '" + key + "'");
    }

    kirra::SlotModules slotModules() {
        kirra::SlotModules modules;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            modules.operators[slot] = plugin_.getOperator(slot);
            modules.modulators[slot] = plugin_.getModulator(slot);
        }
        return modules;
    }

    void assignSlot(const std::string& key, const Value& value) {
        std::lock_guard<platform::EngineMutex> lock(plugin_.getEngineMutex());
        kirra::SlotModules modules = slotModules();
        if (sameText(key, "source") || sameText(key, "destination")) {
            const bool source = sameText(key, "source");
            const int states = source ? kSourceStates : kDestinationStates;
            float fromText = NAN;
            for (int state = 0; state < states && !value.isNumber; ++state) {
                kirra::ModuleText longName;
                kirra::ModuleText shortName;
                if (source) {
                    kirra::sourceName(state, modules, longName);
                    kirra::sourceShortName(state, modules, shortName);
                } else {
                    kirra::destinationName(state, modules, longName);
                    kirra::destinationName(state, modules, shortName);
                }
                if (std::string(longName) != "---" &&
                    (sameText(value.text, longName) || sameText(value.text, shortName))) {
                    fromText = kirra::indexToValue(state, states);
                    break;
                }
            }
            setChecked((source ? kSlotSource1 : kSlotDestination1) + slot_, value, fromText);
        } else if (sameText(key, "sensitivity")) {
            double percent;
            float fromText = !value.isNumber && parseDecimal(value.text, percent)
                                 ? static_cast<float>((percent + 100.0) / 200.0)
                                 : NAN;
            setChecked(kSlotSensitivity1 + slot_, value, fromText);
        } else if (sameText(key, "muted")) {
            int bits = kirra::valueToIndex(plugin_.getParameter(kSlotStatus), kSlotStatusStates);
            bool muted = sameText(value.text, "yes") || sameText(value.text, "true");
            if (!muted && !sameText(value.text, "no") && !sameText(value.text, "false")) {
                error("'muted' is yes or no");
                return;
            }
            bits = muted ? bits | (1 << slot_) : bits & ~(1 << slot_);
            plugin_.setParameter(kSlotStatus, kirra::indexToValue(bits, kSlotStatusStates));
        } else {
            error("a slot section takes source, destination, sensitivity and muted");
        }
    }

    kirra::Plugin& plugin_;
    std::string fileName_;
    std::vector<Diagnostic>& diagnostics_;
    int lineNumber_ = 0;
    int errors_ = 0;
    Section section_ = Section::kTop;
    int slot_ = 0;
    std::string name_;
    bool hasName_ = false;
};

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

}  // namespace

PresetCompiler::PresetCompiler() : plugin_(std::make_unique<kirra::Plugin>(&silentHost)) {}

PresetCompiler::~PresetCompiler() = default;

bool PresetCompiler::compileProgram(const std::string& text, const std::string& fileName,
                                    CompiledProgram& program,
                                    std::vector<Diagnostic>& diagnostics) {
    ProgramCompiler compiler(*plugin_, fileName, diagnostics);
    return compiler.compile(text, program);
}

bool PresetCompiler::compileBanks(const std::string& directory, Banks& banks,
                                  std::vector<Diagnostic>& diagnostics) {
    namespace fs = std::filesystem;
    const char* const kBankFolders[kBanks] = {"A", "B", "C"};
    bool ok = true;
    for (int bank = 0; bank < kBanks; ++bank) {
        fs::path folder = fs::path(directory) / kBankFolders[bank];
        std::map<int, fs::path> files;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folder, error)) {
            std::string name = entry.path().filename().string();
            if (entry.path().extension() != ".program") continue;
            int number = std::atoi(name.c_str());
            if (name.size() < 3 || name[2] != '-' || number < 1 || number > kProgramsPerBank) {
                diagnostics.push_back(
                    {entry.path().string(), 0,
                     "program files are named NN-title.program, NN from 01 to 64"});
                ok = false;
            } else if (!files.emplace(number, entry.path()).second) {
                diagnostics.push_back({entry.path().string(), 0,
                                       "a second program numbered " + std::to_string(number)});
                ok = false;
            }
        }
        if (error) {
            diagnostics.push_back({folder.string(), 0, "cannot read the folder"});
            ok = false;
            continue;
        }
        banks[bank].assign(kProgramsPerBank, CompiledProgram{});
        for (int number = 1; number <= kProgramsPerBank; ++number) {
            auto found = files.find(number);
            if (found == files.end()) {
                diagnostics.push_back(
                    {folder.string(), 0, "program " + std::to_string(number) + " is missing"});
                ok = false;
                continue;
            }
            ok = compileProgram(readFile(found->second), found->second.string(),
                                banks[bank][number - 1], diagnostics) &&
                 ok;
        }
    }
    return ok;
}

std::string generateSource(const Banks& banks) {
    std::ostringstream out;
    out << "// Generated from presets/ by kirra_presetc: edit the program files, not this one.\n\n"
        << "#include \"engine/FactoryBanks.h\"\n\nnamespace kirra {\n\n"
        << "extern const FactoryBank kFactoryBanks[kFactoryBankCount];\n"
        << "const FactoryBank kFactoryBanks[kFactoryBankCount] = {\n";
    char number[32];
    for (const auto& bank : banks) {
        out << "    {\n        {\n";
        for (const auto& program : bank) {
            out << "            \"";
            for (char c : program.name) {
                if (c == '"' || c == '\\') out << '\\';
                out << c;
            }
            out << "\",\n";
        }
        out << "        },\n        {\n";
        for (const auto& program : bank) {
            out << "            {";
            for (size_t i = 0; i < program.values.size(); ++i) {
                std::snprintf(number, sizeof(number), "%.9g", program.values[i]);
                // A literal needs a point or an exponent before its float suffix.
                if (std::strpbrk(number, ".e") == nullptr) std::strcat(number, ".0");
                std::strcat(number, "f");
                out << (i == 0 ? "" : ",") << (i % 8 == 0 ? "\n                " : " ") << number;
            }
            out << "},\n";
        }
        out << "        },\n    },\n";
    }
    out << "};\n\n}  // namespace kirra\n";
    return out.str();
}

}  // namespace presets
