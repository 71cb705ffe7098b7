// kirra info: everything a host sees of a plug-in.

#include <cstdio>
#include <string>

#include "kirra/Commands.h"

namespace host {

namespace {

std::string fourCharacters(int32_t id) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        char c = static_cast<char>((id >> shift) & 0xff);
        text += (c >= 32 && c < 127) ? c : '?';
    }
    return text;
}

std::string stringAnswer(PluginHost& plugin, int32_t opcode) {
    char text[256] = {};
    if (plugin.dispatch(opcode, 0, 0, text) == 0) return "(none)";
    text[sizeof(text) - 1] = 0;
    return text;
}

}  // namespace

int runInfo(const Options& options) {
    PluginHost plugin;
    if (!loadPlugin(options, plugin, options.sampleRate > 0 ? options.sampleRate : 44100.0)) {
        return 1;
    }
    if (!applySettingsOrFail(plugin, options)) return 1;
    const vst::AEffect& effect = *plugin.effect();
    std::printf("plugin:          %s\n", options.pluginPath.c_str());
    std::printf("effect name:     %s\n", stringAnswer(plugin, vst::effGetEffectName).c_str());
    std::printf("vendor:          %s\n", stringAnswer(plugin, vst::effGetVendorString).c_str());
    std::printf("product:         %s\n", stringAnswer(plugin, vst::effGetProductString).c_str());
    std::printf("unique id:       \"%s\" (0x%08x)\n", fourCharacters(effect.uniqueID).c_str(),
                static_cast<unsigned>(effect.uniqueID));
    std::printf("vendor version:  0x%lx\n",
                static_cast<unsigned long>(plugin.dispatch(vst::effGetVendorVersion)));
    std::printf("VST version:     %ld\n",
                static_cast<long>(plugin.dispatch(vst::effGetVstVersion)));
    std::printf("category:        %ld\n",
                static_cast<long>(plugin.dispatch(vst::effGetPlugCategory)));
    std::printf("inputs/outputs:  %d / %d\n", effect.numInputs, effect.numOutputs);
    std::printf("programs:        %d\n", effect.numPrograms);
    std::printf("parameters:      %d\n", effect.numParams);
    std::printf("initial delay:   %d\n", effect.initialDelay);
    std::printf("flags:           0x%x%s%s%s%s\n", static_cast<unsigned>(effect.flags),
                effect.flags & vst::kFlagHasEditor ? " editor" : "",
                effect.flags & vst::kFlagCanReplacing ? " replacing" : "",
                effect.flags & vst::kFlagCanDoubleReplacing ? " double-replacing" : "",
                effect.flags & vst::kFlagProgramChunks ? " program-chunks" : "");
    char midi[] = "receiveVstMidiEvent";
    std::printf("receives MIDI:   %s\n",
                plugin.dispatch(vst::effCanDo, 0, 0, midi) == 1 ? "yes" : "no");
    std::printf("program:         %s\n", plugin.programName().c_str());
    std::printf("\n%5s  %-24s %-10s %-24s %s\n", "index", "name", "label", "display", "value");
    for (int32_t index = 0; index < effect.numParams; ++index) {
        std::printf("%5d  %-24s %-10s %-24s %.6f\n", index, plugin.parameterName(index).c_str(),
                    plugin.parameterLabel(index).c_str(), plugin.parameterDisplay(index).c_str(),
                    plugin.getParameter(index));
    }
    return 0;
}

}  // namespace host
