#include "editor/ControlHelp.h"

#include "editor/KirraFrame.h"
#include "engine/ModulationSlots.h"
#include "engine/ParameterDescription.h"
#include "engine/ParameterIndex.h"
#include "engine/Plugin.h"

namespace kirra::editor {

std::string fullParameterName(Plugin& plugin, int index, const char* caption) {
    ModuleText text = "";
    const ParameterGroup group = parameterGroup(index);
    const bool isOperator = group == ParameterGroup::kOperatorPosition;
    if (!isOperator && group != ParameterGroup::kModulatorPosition) {
        parameterName(index, ParameterContext(), text);
        return text;
    }
    // "OP1 (BIQUAD) freqA": the slot, its module and the position's own name.
    const int positions = isOperator ? param::kOperatorPositions : param::kModulatorPositions;
    const int slot = parameterMember(index) / positions;
    const int typeIndex = (isOperator ? param::kOperatorType1 : param::kModulatorType1) + slot;
    ModuleText type = "";
    plugin.getEditorText(typeIndex, plugin.getParameter(typeIndex), type);
    if (caption != nullptr && caption[0] != 0) {
        setText(text, caption);
    } else {
        plugin.getDestinationName((isOperator ? ModulationSlots::kDestinationOperator
                                              : ModulationSlots::kDestinationModulator) +
                                      parameterMember(index),
                                  text);
        return text;
    }
    return std::string(isOperator ? "OP" : "MOD") + std::to_string(slot + 1) + " (" + type + ") " +
           text;
}

std::string parameterHelp(Plugin& plugin, int index, const std::string& valueText,
                          const char* gestureLine, const char* caption) {
    std::string help = fullParameterName(plugin, index, caption);
    ModuleText label = "";
    if (describeParameter(index).isHostParameter()) {
        plugin.getParameterLabel(index, label);
    } else {
        parameterLabel(index, ParameterContext(), label);
    }
    if (!valueText.empty()) {
        help += ": " + valueText;
        // The unit, unless the text says it already.
        if (label[0] != 0 && valueText.find(label) == std::string::npos)
            help += std::string(" ") + label;
    }
    if (gestureLine != nullptr && gestureLine[0] != 0) help += std::string("\n") + gestureLine;
    return help;
}

std::string controlHelp(const gui::View& view, int index, const char* caption,
                        const std::string& valueText, const char* gestureLine) {
    Plugin* plugin = pluginOf(view);
    if (plugin != nullptr && parameterGroup(index) != ParameterGroup::kUnused)
        return parameterHelp(*plugin, index, valueText, gestureLine, caption);
    std::string help = std::string(caption != nullptr ? caption : "") + ": " + valueText;
    if (gestureLine != nullptr && gestureLine[0] != 0) help += std::string("\n") + gestureLine;
    return help;
}

Plugin* pluginOf(const gui::View& view) {
    auto* frame = dynamic_cast<KirraFrame*>(const_cast<gui::View&>(view).getFrame());
    return frame != nullptr ? &frame->plugin() : nullptr;
}

}  // namespace kirra::editor
