#include "kirra/ProgramCommands.h"

#include <cstdio>
#include <vector>

#include "engine/ProgramImages.h"
#include "kirra/Commands.h"
#include "kirra/ProgramState.h"
#include "platform/Files.h"

namespace host {

namespace {

// Loads the plug-in, applies every option and reads back its programs.
bool loadState(const Options& options, PluginHost& plugin, ProgramState& state) {
    if (!loadPlugin(options, plugin, options.sampleRate > 0 ? options.sampleRate : 44100.0)) {
        return false;
    }
    if (!applySettingsOrFail(plugin, options)) return false;
    std::string error;
    if (state.read(plugin, error)) return true;
    std::fprintf(stderr, "kirra: %s\n", error.c_str());
    return false;
}

int writeOutput(const Options& options, const std::vector<uint8_t>& image) {
    const std::string& path = options.positional[0];
    if (!platform::writeFileAtomically(path, image.data(), image.size())) {
        std::fprintf(stderr, "kirra: cannot write %s\n", path.c_str());
        return 1;
    }
    return 0;
}

bool wantsOneOutput(const Options& options) {
    if (options.positional.size() == 1) return true;
    std::fprintf(stderr, "kirra: %s wants one output file\n", options.command.c_str());
    return false;
}

}  // namespace

int runPrograms(const Options& options) {
    PluginHost plugin;
    ProgramState state;
    if (!loadState(options, plugin, state)) return 1;
    const kirra::ProgramStore& programs = state.programs();
    for (int bank = 0; bank < kirra::ProgramStore::kBanks; ++bank) {
        for (int preset = 0; preset < kirra::ProgramStore::kPrograms; ++preset) {
            bool current =
                bank == programs.getCurrentBank() && preset == programs.getCurrentPreset();
            std::printf("%-5s %c %s\n", programLabel(bank, preset).c_str(), current ? '*' : ' ',
                        programs.program(bank, preset).name);
        }
    }
    return 0;
}

int runSavePreset(const Options& options) {
    if (!wantsOneOutput(options)) return 2;
    PluginHost plugin;
    ProgramState state;
    if (!loadState(options, plugin, state)) return 1;
    const kirra::Program& program = state.programs().current();
    std::vector<uint8_t> image(kirra::kPresetImageBytes);
    kirra::writePresetImage(program.name, program.values, image.data());
    return writeOutput(options, image);
}

int runSaveBank(const Options& options) {
    if (!wantsOneOutput(options)) return 2;
    PluginHost plugin;
    ProgramState state;
    if (!loadState(options, plugin, state)) return 1;
    const kirra::ProgramStore& programs = state.programs();
    std::vector<uint8_t> image(kirra::kBankImageBytes);
    kirra::writeBankImage(programs.bank(programs.getCurrentBank()), image.data());
    return writeOutput(options, image);
}

}  // namespace host
