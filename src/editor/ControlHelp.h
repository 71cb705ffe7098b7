#pragma once
// The pointer's help for the editor's controls: the full name of what a control edits, its
// value with the unit, and what the gestures do where that is not obvious.

#include <string>

#include "gui/View.h"

namespace kirra {
class Plugin;
}

namespace kirra::editor {

// Gestures, one line each kind of control shares.
namespace gestures {
constexpr const char* kValueField =
    "drag: change, shift: fine, double-click: type, ctrl-click: default";
constexpr const char* kChoice = "click: next, right-click: previous";
constexpr const char* kMainKnob =
    "drag: change, shift: fine, double-click: type, right-click: MIDI learn";
constexpr const char* kNamedKnob =
    "drag: change, shift: fine, double-click: rename, right-click: MIDI learn";
constexpr const char* kSwitch = "click: switch";
}  // namespace gestures

// The full name of an internal parameter with the modules now in the slots: a module's position
// with its slot, its module and the control's caption ("OP1 (GAIN) attenuation" rather than the
// host's "OP1 atten").
std::string fullParameterName(Plugin& plugin, int index, const char* caption = nullptr);
// "name: value unit" and the gestures below, for a control that edits an internal parameter.
std::string parameterHelp(Plugin& plugin, int index, const std::string& valueText,
                          const char* gestureLine, const char* caption = nullptr);
// The same where the control may stand outside an editor frame (then the caption names it) or
// edit something that is not a parameter.
std::string controlHelp(const gui::View& view, int index, const char* caption,
                        const std::string& valueText, const char* gestureLine);
// The plug-in behind the editor frame a view is in; null outside one.
Plugin* pluginOf(const gui::View& view);

}  // namespace kirra::editor
