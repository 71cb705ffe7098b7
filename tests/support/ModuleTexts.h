#pragma once
// A module's texts as strings, so that a test compares each in one line.

#include <string>

#include "modules/Module.h"

namespace testing_support {

inline std::string moduleDisplay(const kirra::Module& module, int position) {
    kirra::ModuleText text;
    module.getParameterDisplay(position, text);
    return text;
}

inline std::string moduleParameterName(const kirra::Module& module, int position) {
    kirra::ModuleText text;
    module.getParameterName(position, text);
    return text;
}

inline std::string moduleEditorText(const kirra::Module& module, int position, float value) {
    kirra::ModuleText text;
    module.getEditorText(position, value, text);
    return text;
}

}  // namespace testing_support
