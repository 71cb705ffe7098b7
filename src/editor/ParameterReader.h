#pragma once
// Reads an internal parameter's current value; pages use it to start from the plug-in's state.

#include <functional>

namespace kirra::editor {

using ParameterReader = std::function<float(int index)>;

}  // namespace kirra::editor
