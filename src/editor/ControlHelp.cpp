#include "editor/ControlHelp.h"

#include "editor/KirraFrame.h"
#include "engine/ModulationSlots.h"
#include "engine/ParameterDescription.h"
#include "engine/Plugin.h"

namespace kirra::editor {

std::string fullParameterName(Plugin& plugin, int index) {
    ModuleText text = "";
    const int member = parameterMember(index);
    switch (parameterGroup(index)) {
        case ParameterGroup::kOperatorPosition:
            plugin.getDestinationName(ModulationSlots::kDestinationOperator + member, text);
            break;
        case ParameterGroup::kModulatorPosition:
            plugin.getDestinationName(ModulationSlots::kDestinationModulator + member, text);
            break;
        default:
            parameterName(index, ParameterContext(), text);
            break;
    }
    return text;
}

std::string parameterHelp(Plugin& plugin, int index, const std::string& valueText,
                          const char* gestureLine) {
    std::string help = fullParameterName(plugin, index);
    ModuleText label = "";
    if (describeParameter(index).isHostParameter()) {
        plugin.getParameterLabel(index, label);
    } else {
        parameterLabel(index, ParameterContext(), label);
    }
    if (!valueText.empty()) {
        help += ": " + valueText;
        // The unit, unless the text says it already.
        if (label[0] != 0 && valueText.find(label) == std::string::npos) help += std::string(" ") + label;
    }
    if (gestureLine != nullptr && gestureLine[0] != 0) help += std::string("\n") + gestureLine;
    return help;
}

std::string controlHelp(const gui::View& view, int index, const char* caption,
                        const std::string& valueText, const char* gestureLine) {
    Plugin* plugin = pluginOf(view);
    if (plugin != nullptr && parameterGroup(index) != ParameterGroup::kUnused)
        return parameterHelp(*plugin, index, valueText, gestureLine);
    std::string help = std::string(caption != nullptr ? caption : "") + ": " + valueText;
    if (gestureLine != nullptr && gestureLine[0] != 0) help += std::string("\n") + gestureLine;
    return help;
}

Plugin* pluginOf(const gui::View& view) {
    auto* frame = dynamic_cast<KirraFrame*>(const_cast<gui::View&>(view).getFrame());
    return frame != nullptr ? &frame->plugin() : nullptr;
}

}  // namespace kirra::editor
