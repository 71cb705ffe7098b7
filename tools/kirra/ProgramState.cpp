#include "kirra/ProgramState.h"

#include <cstdint>
#include <vector>

#include "engine/ProgramImages.h"
#include "platform/Files.h"

namespace host {

bool ProgramState::read(PluginHost& plugin, std::string& error) {
    void* data = nullptr;
    intptr_t size = plugin.dispatch(vst::effGetChunk, 0, 0, &data);
    if (data == nullptr || size <= 0 ||
        !kirra::readStateChunk(static_cast<const uint8_t*>(data), static_cast<size_t>(size),
                               *programs_, selection_)) {
        error = "the plug-in's state is not a Kirra state chunk";
        return false;
    }
    if (kirra::selectsProgram(selection_)) {
        programs_->setCurrentBank(selection_.bank);
        programs_->setCurrentPreset(selection_.preset);
    }
    return true;
}

bool ProgramState::write(PluginHost& plugin, std::string& error) {
    std::vector<uint8_t> chunk(kirra::kStateChunkBytes);
    kirra::writeStateChunk(*programs_, selection_.learnedControllers, chunk.data());
    intptr_t answer =
        plugin.dispatch(vst::effSetChunk, 0, static_cast<intptr_t>(chunk.size()), chunk.data());
    if (answer != 0) {
        error = "the plug-in refused the state chunk";
        return false;
    }
    return true;
}

namespace {

bool readImage(const std::string& path, size_t bytes, std::vector<uint8_t>& image,
               std::string& error) {
    if (platform::readFile(path, bytes, image)) return true;
    error = "cannot read " + path;
    return false;
}

}  // namespace

bool applyProgramOptions(PluginHost& plugin, const Options& options, std::string& error) {
    if (options.programBank < 0 && options.presetPath.empty() && options.bankPath.empty()) {
        return true;
    }
    ProgramState state;
    if (!state.read(plugin, error)) return false;
    kirra::ProgramStore& programs = state.programs();
    if (options.programBank >= 0) programs.setCurrentBank(options.programBank);
    std::vector<uint8_t> image;
    if (!options.bankPath.empty()) {
        if (!readImage(options.bankPath, kirra::kBankImageBytes, image, error)) return false;
        if (!kirra::readBankImage(image.data(), image.size(),
                                  programs.bank(programs.getCurrentBank()))) {
            error = options.bankPath + " is not a Kirra bank file";
            return false;
        }
        programs.setCurrentPreset(0);
    }
    if (options.programNumber >= 0) programs.setCurrentPreset(options.programNumber);
    if (!options.presetPath.empty()) {
        kirra::Program preset;
        if (!readImage(options.presetPath, kirra::kPresetImageBytes, image, error)) return false;
        if (!kirra::readPresetImage(image.data(), image.size(), preset)) {
            error = options.presetPath + " is not a Kirra preset file";
            return false;
        }
        programs.current() = preset;
    }
    return state.write(plugin, error);
}

std::string programLabel(int bank, int preset) {
    return std::string(1, static_cast<char>('A' + bank)) + ":" + std::to_string(preset + 1);
}

}  // namespace host
