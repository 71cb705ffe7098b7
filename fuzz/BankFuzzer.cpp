// The bank reader, into the current bank (which then selects its program 1).

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "FuzzImages.h"
#include "engine/Plugin.h"
#include "engine/ProgramLibrary.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzing::fuzzedPlugin();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> image = fuzzing::shapeInput(data, size, fuzzing::validBank);
    fuzzing::fuzzedPlugin().getLibrary().applyBankImage(0, image.data(), image.size());
    const kirra::Program* bank = fuzzing::fuzzedPlugin().getPrograms().bank(0);
    for (int p = 0; p < kirra::ProgramStore::kPrograms; ++p) {
        if (strnlen(bank[p].name, sizeof(bank[p].name)) > 24) std::abort();
        for (float value : bank[p].values) {
            if (!(value >= 0.0f && value <= 1.0f)) std::abort();
        }
    }
    return 0;
}
