#include "presetc/ProgramApplier.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "engine/FlatProgram.h"
#include "engine/ModulationNames.h"
#include "engine/Plugin.h"
#include "engine/ProgramStore.h"
#include "presetc/TextMatching.h"
#include "presetc/ValueConversions.h"

namespace presets {

using namespace kirra::param;

namespace {

intptr_t silentHost(vst::AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == vst::audioMasterVersion ? 2400 : 0;
}

// One program's edits, section by section.
class Application {
  public:
    Application(kirra::Plugin& plugin, const std::string& fileName,
                std::vector<Diagnostic>& diagnostics)
        : plugin_(plugin), fileName_(fileName), diagnostics_(diagnostics) {}

    bool run(const ProgramSyntax& syntax, CompiledProgram& program) {
        startFromFlat();
        if (!syntax.name.empty()) plugin_.setProgramName(syntax.name.c_str());
        for (const Section& section : syntax.sections) {
            line_ = section.line;
            // A module of an unknown type has no parameters to set: its lines are not reported
            // again one by one.
            if (!openSection(section)) continue;
            for (const Entry& entry : section.entries) {
                line_ = entry.line;
                assign(section, entry);
            }
        }
        const kirra::Program& result = plugin_.getPrograms().current();
        program.name = syntax.name;
        std::copy(std::begin(result.values), std::end(result.values), program.values.begin());
        return errors_ == 0;
    }

  private:
    void error(const std::string& message) {
        diagnostics_.push_back({fileName_, line_, message});
        ++errors_;
    }

    void startFromFlat() {
        kirra::Program flat;
        flat.setName("");
        const auto flatValues = kirra::flatProgramValues();
        std::copy(std::begin(flatValues.values), std::end(flatValues.values), flat.values);
        plugin_.applyPreset(flat);
    }

    bool openSection(const Section& section) {
        if (section.kind == SectionKind::kOperator || section.kind == SectionKind::kModulator) {
            const bool isOperator = section.kind == SectionKind::kOperator;
            float type = conversions::moduleTypeFromName(isOperator, section.argument);
            if (std::isnan(type)) {
                error("unknown module type '" + section.argument + "'");
                return false;
            }
            plugin_.setParameter((isOperator ? kOperatorType1 : kModulatorType1) + section.slot,
                                 type);
        } else if (section.kind == SectionKind::kKnob) {
            const std::string& name = section.argument;
            for (int j = 0; j < kKnobNameLength; ++j) {
                int code =
                    j < static_cast<int>(name.size()) ? static_cast<unsigned char>(name[j]) : 0;
                plugin_.setParameter(kKnobName1 + kKnobNameLength * section.slot + j,
                                     conversions::knobCharacter(code));
            }
        }
        return true;
    }

    void assign(const Section& section, const Entry& entry) {
        const Value& value = entry.value;
        switch (section.kind) {
            case SectionKind::kMain: {
                int index = conversions::mainParameter(entry.key);
                if (index < 0) {
                    error("no parameter '" + entry.key + "' in [main]");
                } else {
                    set(index, value, conversions::engineValueFromText(index, value.text));
                }
                break;
            }
            case SectionKind::kOperator:
            case SectionKind::kModulator:
                assignModulePosition(section, entry);
                break;
            case SectionKind::kSlot:
                assignSlot(section.slot, entry);
                break;
            case SectionKind::kKnob:
                set(kKnob1 + section.slot, value,
                    conversions::engineValueFromText(kKnob1 + section.slot, value.text));
                break;
        }
    }

    // Sets a bare number as it stands and a text as converted, or reports either out of range.
    void set(int index, const Value& value, float fromText) {
        float normalised = value.isNumber ? value.number : fromText;
        if (!(normalised >= 0.0f && normalised <= 1.0f)) {
            error(value.isNumber ? "value " + value.text + " is outside 0..1"
                                 : "'" + value.text + "' is not a value of this parameter");
            return;
        }
        plugin_.setParameter(index, normalised);
    }

    void assignModulePosition(const Section& section, const Entry& entry) {
        const bool isOperator = section.kind == SectionKind::kOperator;
        if (sameText(entry.key, "bypass")) {
            int index = (isOperator ? kOperatorBypass1 : kModulatorBypass1) + section.slot;
            set(index, entry.value, conversions::engineValueFromText(index, entry.value.text));
            return;
        }
        std::lock_guard<platform::EngineMutex> lock(plugin_.getEngineMutex());
        const kirra::Module* module =
            isOperator ? static_cast<kirra::Module*>(plugin_.getOperator(section.slot))
                       : plugin_.getModulator(section.slot);
        int position = conversions::modulePosition(*module, entry.key);
        if (position < 0) {
            kirra::ModuleText type;
            module->getName(type);
            error("the " + std::string(type) + " in this slot has no parameter '" + entry.key +
                  "'");
            return;
        }
        int index = isOperator ? operatorParameter(section.slot, position)
                               : modulatorParameter(section.slot, position);
        set(index, entry.value,
            conversions::moduleValueFromText(*module, position, entry.value.text));
    }

    kirra::SlotModules slotModules() {
        kirra::SlotModules modules;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            modules.operators[slot] = plugin_.getOperator(slot);
            modules.modulators[slot] = plugin_.getModulator(slot);
        }
        return modules;
    }

    // The parser has already narrowed the keys to these four.
    void assignSlot(int slot, const Entry& entry) {
        const Value& value = entry.value;
        std::lock_guard<platform::EngineMutex> lock(plugin_.getEngineMutex());
        if (entry.key == "source") {
            set(kSlotSource1 + slot, value,
                conversions::slotSourceFromText(value.text, slotModules()));
        } else if (entry.key == "destination") {
            set(kSlotDestination1 + slot, value,
                conversions::slotDestinationFromText(value.text, slotModules()));
        } else if (entry.key == "sensitivity") {
            set(kSlotSensitivity1 + slot, value, conversions::sensitivityFromText(value.text));
        } else if (entry.key == "muted") {
            bool muted = sameText(value.text, "yes") || sameText(value.text, "true");
            if (!muted && !sameText(value.text, "no") && !sameText(value.text, "false")) {
                error("'muted' is yes or no");
                return;
            }
            plugin_.setParameter(kSlotStatus, conversions::slotStatusWithMute(
                                                  plugin_.getParameter(kSlotStatus), slot, muted));
        }
    }

    kirra::Plugin& plugin_;
    std::string fileName_;
    std::vector<Diagnostic>& diagnostics_;
    int line_ = 0;
    int errors_ = 0;
};

}  // namespace

ProgramApplier::ProgramApplier() : plugin_(std::make_unique<kirra::Plugin>(&silentHost)) {}

ProgramApplier::~ProgramApplier() = default;

bool ProgramApplier::apply(const ProgramSyntax& syntax, const std::string& fileName,
                           CompiledProgram& program, std::vector<Diagnostic>& diagnostics) {
    return Application(*plugin_, fileName, diagnostics).run(syntax, program);
}

}  // namespace presets
