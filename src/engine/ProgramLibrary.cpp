#include "engine/ProgramLibrary.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "engine/Plugin.h"
#include "engine/ProgramImages.h"
#include "engine/UserPresets.h"
#include "platform/Files.h"

namespace kirra {

namespace {

constexpr const char* kClipboardValue = "Clipboard";

bool isBank(int bank) {
    return bank >= 0 && bank < ProgramStore::kBanks;
}

std::string defaultBankValue(int bank) {
    char name[32];
    std::snprintf(name, sizeof(name), "DefaultBank%d", bank);
    return name;
}

}  // namespace

ProgramLibrary::ProgramLibrary(Plugin& plugin, platform::UserStore store)
    : plugin_(plugin), store_(std::move(store)) {}

void ProgramLibrary::loadPreferences() {
    preferences_.load(store_);
}

void ProgramLibrary::savePreferences() {
    preferences_.save(store_);
}

void ProgramLibrary::loadDefaultBanks() {
    std::vector<uint8_t> image;
    for (int bank = 0; bank < ProgramStore::kBanks; ++bank) {
        if (store_.readBinary(defaultBankValue(bank).c_str(), kBankImageBytes, image)) {
            applyBankImage(bank, image.data(), image.size());
        }
    }
}

void ProgramLibrary::makePresetImage(uint8_t* image) {
    // One state: no program change or bank load lands halfway through.
    platform::EngineLock lock(plugin_.getEngineMutex());
    float values[param::kProgramParameterCount];
    for (int index = 0; index < param::kProgramParameterCount; ++index) {
        values[index] = plugin_.getParameter(index);
    }
    writePresetImage(plugin_.getPrograms().current().name, values, image);
}

void ProgramLibrary::makeBankImage(int bank, uint8_t* image) {
    platform::EngineLock lock(plugin_.getEngineMutex());
    writeBankImage(plugin_.getPrograms().bank(bank), image);
}

bool ProgramLibrary::applyPresetImage(const uint8_t* data, size_t size) {
    Program preset;
    if (!readPresetImage(data, size, preset)) return false;
    plugin_.applyPreset(preset);
    return true;
}

bool ProgramLibrary::applyBankImage(int bank, const uint8_t* data, size_t size) {
    if (!isBank(bank)) return false;
    ProgramStore& programs = plugin_.getPrograms();
    // The bank and the selection of its first program change together for anyone saving.
    platform::EngineLock lock(plugin_.getEngineMutex());
    if (!readBankImage(data, size, programs.bank(bank))) return false;
    if (bank == programs.getCurrentBank()) plugin_.selectProgram(0);
    return true;
}

bool ProgramLibrary::loadPresetFile(const std::string& path) {
    std::vector<uint8_t> image;
    return platform::readFile(path, kPresetImageBytes, image) &&
           applyPresetImage(image.data(), image.size());
}

bool ProgramLibrary::savePresetFile(const std::string& path) {
    uint8_t image[kPresetImageBytes];
    makePresetImage(image);
    return platform::writeFileAtomically(path, image, sizeof(image));
}

bool ProgramLibrary::loadBankFile(int bank, const std::string& path) {
    std::vector<uint8_t> image;
    return isBank(bank) && platform::readFile(path, kBankImageBytes, image) &&
           applyBankImage(bank, image.data(), image.size());
}

bool ProgramLibrary::saveBankFile(int bank, const std::string& path) {
    if (!isBank(bank)) return false;
    std::vector<uint8_t> image(kBankImageBytes);
    makeBankImage(bank, image.data());
    return platform::writeFileAtomically(path, image.data(), image.size());
}

platform::FileDialogRequest ProgramLibrary::request(bool save, bool bank) const {
    platform::FileDialogRequest request;
    request.save = save;
    if (bank) {
        request.title = save ? "Save bank" : "Select bank to load";
        request.filterName = "Vantor Bank";
        request.extension = "vtb";
        request.fileName = preferences_.getBankFileName();
    } else {
        request.title = save ? "Save preset" : "Select preset to load";
        request.filterName = "Vantor Preset";
        request.extension = "vtp";
        request.fileName = preferences_.getPresetFileName();
    }
    request.directory = preferences_.getDirectory();
    return request;
}

platform::FileDialogResult ProgramLibrary::runDialog(platform::FileChooser& chooser, bool save,
                                                     int bank) {
    std::string path;
    platform::FileDialogResult result = chooser.choose(request(save, bank >= 0), path);
    if (result != platform::FileDialogResult::kChosen) return result;
    if (bank < 0) {
        preferences_.rememberPresetPath(path);
        save ? savePresetFile(path) : loadPresetFile(path);
    } else {
        preferences_.rememberBankPath(path);
        save ? saveBankFile(bank, path) : loadBankFile(bank, path);
    }
    return result;
}

platform::FileDialogResult ProgramLibrary::loadPreset(platform::FileChooser& chooser) {
    return runDialog(chooser, false, -1);
}

platform::FileDialogResult ProgramLibrary::savePreset(platform::FileChooser& chooser) {
    return runDialog(chooser, true, -1);
}

platform::FileDialogResult ProgramLibrary::loadBank(int bank, platform::FileChooser& chooser) {
    if (!isBank(bank)) return platform::FileDialogResult::kCancelled;
    return runDialog(chooser, false, bank);
}

platform::FileDialogResult ProgramLibrary::saveBank(int bank, platform::FileChooser& chooser) {
    if (!isBank(bank)) return platform::FileDialogResult::kCancelled;
    return runDialog(chooser, true, bank);
}

bool ProgramLibrary::saveDefaultBank(int bank) {
    if (!isBank(bank)) return false;
    std::vector<uint8_t> image(kBankImageBytes);
    makeBankImage(bank, image.data());
    return store_.writeBinary(defaultBankValue(bank).c_str(), image.data(), image.size());
}

bool ProgramLibrary::forgetDefaultBank(int bank) {
    return isBank(bank) && store_.remove(defaultBankValue(bank).c_str());
}

bool ProgramLibrary::copyProgram() {
    uint8_t image[kPresetImageBytes];
    makePresetImage(image);
    return store_.writeBinary(kClipboardValue, image, sizeof(image));
}

bool ProgramLibrary::pasteProgram() {
    std::vector<uint8_t> image;
    return store_.readBinary(kClipboardValue, kPresetImageBytes, image) &&
           applyPresetImage(image.data(), image.size());
}

std::string ProgramLibrary::suggestedPath(bool save, int bank) const {
    const platform::FileDialogRequest asked = request(save, bank >= 0);
    std::string name = asked.fileName;
    if (name.empty() && save && bank < 0) {
        platform::EngineLock lock(plugin_.getEngineMutex());
        const std::string programName = plugin_.getPrograms().current().name;
        if (UserPresets::isValidName(programName)) name = programName + "." + asked.extension;
    }
    if (asked.directory.empty()) return name;
    return asked.directory + "/" + name;
}

}  // namespace kirra
