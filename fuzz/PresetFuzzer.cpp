// The preset reader and its application to a running instance.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "FuzzImages.h"
#include "engine/Plugin.h"
#include "engine/ProgramImages.h"
#include "engine/ProgramLibrary.h"

namespace {
kirra::Plugin* plugin = nullptr;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::useTemporaryConfigFolder();
    plugin = new kirra::Plugin(nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> image = fuzzing::shapeInput(data, size, fuzzing::validPreset);
    plugin->getLibrary().applyPresetImage(image.data(), image.size());
    for (int index = 0; index < kirra::param::kProgramParameterCount; ++index) {
        float value = plugin->getParameter(index);
        if (!(value >= 0.0f && value <= 1.0f)) std::abort();
    }
    return 0;
}
