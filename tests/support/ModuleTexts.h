#pragma once
// A module's texts as strings, so that a test compares each in one line, and one module of every
// type to read them from.

#include <memory>
#include <string>
#include <vector>

#include "engine/ModuleFactory.h"
#include "modules/ModuleCatalogue.h"

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

// The operators in catalogue order, then the modulators.
inline std::vector<std::unique_ptr<kirra::Module>> everyModuleType() {
    std::vector<std::unique_ptr<kirra::Module>> modules;
    modules.reserve(kirra::kOperatorTypeCount + kirra::kModulatorTypeCount);
    for (int type = 0; type < kirra::kOperatorTypeCount; ++type)
        modules.push_back(kirra::createOperator(type, 0, nullptr));
    for (int type = 0; type < kirra::kModulatorTypeCount; ++type)
        modules.push_back(kirra::createModulator(type, 0, nullptr));
    return modules;
}

}  // namespace testing_support
