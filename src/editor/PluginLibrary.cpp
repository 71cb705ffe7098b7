#include "editor/PluginLibrary.h"

#include <cstring>

#include "engine/EditHistory.h"
#include "engine/Plugin.h"
#include "engine/ProgramImages.h"
#include "engine/ProgramLibrary.h"

namespace kirra::editor {

const char* fileActionTitle(FileAction action) {
    switch (action) {
        case FileAction::kLoadBank:
            return "Select bank to load";
        case FileAction::kSaveBank:
            return "Save bank";
        case FileAction::kLoadPreset:
            return "Select preset to load";
        default:
            return "Save preset";
    }
}

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
    // A load from the editor is one step of its history; the history takes the engine lock.
    EditHistory::Gesture gesture(plugin_.getEditHistory());
    platform::EngineLock lock(plugin_.getEngineMutex());
    plugin_.getPrograms().setCurrentBank(bank);
    plugin_.selectProgram(preset);
}

bool PluginLibrary::fileDialog(FileAction action, int bank) {
    EditHistory::Gesture gesture(plugin_.getEditHistory());
    ProgramLibrary& library = plugin_.getLibrary();
    platform::FileDialogResult result = platform::FileDialogResult::kUnavailable;
    switch (action) {
        case FileAction::kLoadBank:
            result = library.loadBank(bank, chooser_);
            break;
        case FileAction::kSaveBank:
            result = library.saveBank(bank, chooser_);
            break;
        case FileAction::kLoadPreset:
            result = library.loadPreset(chooser_);
            break;
        case FileAction::kSavePreset:
            result = library.savePreset(chooser_);
            break;
    }
    return result != platform::FileDialogResult::kUnavailable;
}

void PluginLibrary::fileAction(FileAction action, int bank, const std::string& path) {
    EditHistory::Gesture gesture(plugin_.getEditHistory());
    if (path.empty()) return;
    ProgramLibrary& library = plugin_.getLibrary();
    switch (action) {
        case FileAction::kLoadBank:
            library.loadBankFile(bank, path);
            break;
        case FileAction::kSaveBank:
            library.saveBankFile(bank, path);
            break;
        case FileAction::kLoadPreset:
            library.loadPresetFile(path);
            break;
        case FileAction::kSavePreset:
            library.savePresetFile(path);
            break;
    }
}

void PluginLibrary::saveDefaultBank(int bank) {
    plugin_.getLibrary().saveDefaultBank(bank);
}

void PluginLibrary::forgetDefaultBank(int bank) {
    plugin_.getLibrary().forgetDefaultBank(bank);
}

void PluginLibrary::copyPreset() {
    plugin_.getLibrary().copyProgram();
}

void PluginLibrary::pastePreset() {
    EditHistory::Gesture gesture(plugin_.getEditHistory());
    plugin_.getLibrary().pasteProgram();
}

std::string PluginLibrary::suggestedPath(FileAction action, int bank) {
    const bool isBank = action == FileAction::kLoadBank || action == FileAction::kSaveBank;
    const bool save = action == FileAction::kSaveBank || action == FileAction::kSavePreset;
    return plugin_.getLibrary().suggestedPath(save, isBank ? bank : -1);
}

std::string PluginLibrary::currentProgramName() {
    platform::EngineLock lock(plugin_.getEngineMutex());
    return plugin_.getPrograms().current().name;
}

UserPresets::Result PluginLibrary::saveUserPreset(const std::string& name, bool replace) {
    uint8_t image[kPresetImageBytes];
    plugin_.getLibrary().makePresetImage(image);
    return userPresets_.save(name, image, sizeof(image), replace);
}

UserPresets::Result PluginLibrary::loadUserPreset(const std::string& name) {
    std::vector<uint8_t> image;
    const UserPresets::Result result = userPresets_.read(name, image);
    if (result != UserPresets::Result::kDone) return result;
    EditHistory::Gesture gesture(plugin_.getEditHistory());
    plugin_.getLibrary().applyPresetImage(image.data(), image.size());
    return result;
}

}  // namespace kirra::editor
