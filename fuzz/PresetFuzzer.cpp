// The preset reader and its application to a running instance.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "FuzzImages.h"
#include "engine/Plugin.h"
#include "engine/ProgramImages.h"
#include "engine/ProgramLibrary.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::fuzzedPlugin();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> image = fuzzing::shapeInput(data, size, fuzzing::validPreset);
    fuzzing::fuzzedPlugin().getLibrary().applyPresetImage(image.data(), image.size());
    for (int index = 0; index < kirra::param::kProgramParameterCount; ++index) {
        float value = fuzzing::fuzzedPlugin().getParameter(index);
        if (!(value >= 0.0f && value <= 1.0f)) std::abort();
    }
    return 0;
}
