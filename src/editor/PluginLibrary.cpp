#include "editor/PluginLibrary.h"

#include <cstring>

#include "engine/Plugin.h"

namespace kirra::editor {

int PluginLibrary::currentBank() {
    return plugin_.getPrograms().getCurrentBank();
}

int PluginLibrary::currentPreset() {
    return plugin_.getPrograms().getCurrentPreset();
}

std::string PluginLibrary::programName(int bank, int preset) {
    // Under the lock: a bank load may be rewriting the names.
    platform::EngineLock lock(plugin_.getEngineMutex());
    const Program& program = plugin_.getPrograms().program(bank, preset);
    return std::string(program.name, strnlen(program.name, Program::kNameLength));
}

void PluginLibrary::selectProgram(int bank, int preset) {
    platform::EngineLock lock(plugin_.getEngineMutex());
    plugin_.getPrograms().setCurrentBank(bank);
    plugin_.selectProgram(preset);
}

void PluginLibrary::loadBank(int /*bank*/) {}

void PluginLibrary::saveBank(int /*bank*/) {}

void PluginLibrary::saveDefaultBank(int /*bank*/) {}

void PluginLibrary::forgetDefaultBank(int /*bank*/) {}

void PluginLibrary::loadPreset() {}

void PluginLibrary::savePreset() {}

void PluginLibrary::copyPreset() {}

void PluginLibrary::pastePreset() {}

}  // namespace kirra::editor
