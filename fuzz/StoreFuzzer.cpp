// The per-user store's readers: whatever a value's file holds (written by another version, cut
// short by a crash, edited by hand), reading default banks, the clipboard and the remembered
// names must stay safe.

#include <cstdint>
#include <vector>

#include "FuzzImages.h"
#include "engine/Plugin.h"
#include "engine/ProgramLibrary.h"
#include "platform/Files.h"

namespace {

std::string folder;

constexpr const char* kValues[] = {"DefaultBank0", "DefaultBank1", "DefaultBank2", "Clipboard",
                                   "CurrDir",      "CurrBank",     "CurrPreset"};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    folder = fuzzing::useTemporaryConfigFolder();
    platform::makeDirectories(folder);
    fuzzing::fuzzedPlugin();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    int value = data[0] % 7;
    auto valid = value < 3 ? fuzzing::validBank : fuzzing::validPreset;
    std::vector<uint8_t> content = fuzzing::shapeInput(data + 1, size - 1, valid);
    platform::writeFileAtomically(folder + "/" + kValues[value], content.data(), content.size());
    kirra::ProgramLibrary& library = fuzzing::fuzzedPlugin().getLibrary();
    library.loadDefaultBanks();
    library.pasteProgram();
    library.loadPreferences();
    platform::removeFile(folder + "/" + kValues[value]);
    return 0;
}
