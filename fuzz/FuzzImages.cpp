#include "FuzzImages.h"

#include <stdlib.h>

#include <algorithm>
#include <cstring>

#include "engine/Plugin.h"
#include "engine/ProgramImages.h"
#include "engine/StateChunk.h"
#include "platform/UserStore.h"

namespace fuzzing {

namespace {

void reverseWord(std::vector<uint8_t>& image, size_t at) {
    std::swap(image[at], image[at + 3]);
    std::swap(image[at + 1], image[at + 2]);
}

void reverseRecords(std::vector<uint8_t>& image, size_t first, int records) {
    for (int p = 0; p < records; ++p) {
        for (int i = 0; i < kirra::param::kProgramParameterCount; ++i)
            reverseWord(image, first + p * kirra::kRecordBytes + kirra::kNameFieldBytes + 4 * i);
    }
}

const kirra::ProgramStore& factoryState() {
    static const kirra::ProgramStore* programs = new kirra::ProgramStore();
    return *programs;
}

}  // namespace

std::vector<uint8_t> validPreset(bool reversed) {
    std::vector<uint8_t> image(kirra::kPresetImageBytes);
    const kirra::Program& program = factoryState().program(0, 0);
    kirra::writePresetImage(program.name, program.values, image.data());
    if (reversed) {
        for (size_t at : {0, 4, 8})
            reverseWord(image, at);
        reverseRecords(image, kirra::kImageHeaderBytes, 1);
    }
    return image;
}

std::vector<uint8_t> validBank(bool reversed) {
    std::vector<uint8_t> image(kirra::kBankImageBytes);
    kirra::writeBankImage(factoryState().bank(2), image.data());
    if (reversed) {
        for (size_t at : {0, 4, 8})
            reverseWord(image, at);
        reverseRecords(image, kirra::kImageHeaderBytes, kirra::ProgramStore::kPrograms);
    }
    return image;
}

std::vector<uint8_t> validChunk(bool reversed) {
    std::vector<uint8_t> chunk(kirra::kStateChunkBytes);
    const int learned[kirra::kLearnTargetCount] = {1, 2, 3, -1, -1, -1, -1, -1, 7, 64, 127};
    kirra::writeStateChunk(factoryState(), learned, chunk.data());
    if (reversed) {
        for (size_t at = 0; at < 32; at += 4)
            reverseWord(chunk, at);
        for (int bank = 0; bank < kirra::ProgramStore::kBanks; ++bank) {
            reverseRecords(chunk, 32 + bank * kirra::kBankImageBytes + kirra::kImageHeaderBytes,
                           kirra::ProgramStore::kPrograms);
        }
        for (size_t at = kirra::kStateChunkBytes - 4 * kirra::kLearnTargetCount;
             at < kirra::kStateChunkBytes; at += 4) {
            reverseWord(chunk, at);
        }
    }
    return chunk;
}

std::vector<uint8_t> shapeInput(const uint8_t* data, size_t size,
                                std::vector<uint8_t> (*valid)(bool reversed)) {
    if (size < 4 || (data[0] & 1) == 0) return std::vector<uint8_t>(data, data + size);
    std::vector<uint8_t> image = valid((data[0] & 2) != 0);
    size_t offset =
        (static_cast<size_t>(data[1]) << 16 | static_cast<size_t>(data[2]) << 8 | data[3]) %
        image.size();
    size_t patch = std::min(size - 4, image.size() - offset);
    std::memcpy(image.data() + offset, data + 4, patch);
    if ((data[0] & 4) != 0) image.resize(offset + patch);
    return image;
}

std::string useTemporaryConfigFolder() {
    static std::string folder;
    if (folder.empty()) {
        char pattern[] = "/tmp/kirra-fuzz-XXXXXX";
        if (mkdtemp(pattern) != nullptr) folder = pattern;
        setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    }
    return platform::UserStore::defaultFolder();
}

kirra::Plugin& fuzzedPlugin() {
    static kirra::Plugin* plugin = nullptr;
    if (plugin == nullptr) {
        useTemporaryConfigFolder();
        plugin = new kirra::Plugin(nullptr);
        plugin->setSampleRate(44100.0f);
        plugin->resume();
    }
    return *plugin;
}

}  // namespace fuzzing
