// Loading a plug-in and applying the command line's settings, shared by every command.

#include <cstdio>

#include "kirra/Commands.h"
#include "kirra/ProgramState.h"
#include "kirra/Renderer.h"

namespace host {

bool loadPlugin(const Options& options, PluginHost& plugin, double sampleRate) {
    std::string error;
    plugin.options().sidechainConnected = !options.sidechainPath.empty();
    if (!plugin.load(options.pluginPath, error)) {
        std::fprintf(stderr, "kirra: %s\n", error.c_str());
        return false;
    }
    plugin.setSampleRate(sampleRate);
    plugin.setBlockSize(options.blockSize);
    return true;
}

bool applySettingsOrFail(PluginHost& plugin, const Options& options) {
    std::string error;
    if (applyProgramOptions(plugin, options, error) &&
        applySettings(plugin, options.settings, error)) {
        return true;
    }
    std::fprintf(stderr, "kirra: %s\n", error.c_str());
    return false;
}

}  // namespace host
