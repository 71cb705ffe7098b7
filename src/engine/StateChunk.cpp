#include "engine/StateChunk.h"

#include <cstring>

#include "engine/ProgramImages.h"

namespace kirra {

namespace {

constexpr size_t kBankOffset = 32;  // the first bank image; bytes 16..44 are zero
constexpr size_t kLearnOffset = kBankOffset + ProgramStore::kBanks * kBankImageBytes;
static_assert(kLearnOffset + 4 * kLearnTargetCount == kStateChunkBytes);

size_t recordOffset(int bank, int preset) {
    return kBankOffset + bank * kBankImageBytes + kImageHeaderBytes + preset * kRecordBytes;
}

int validController(int32_t controller) {
    return controller >= 0 && controller <= 127 ? controller : -1;
}

}  // namespace

void writeStateChunk(const ProgramStore& programs, const int* learnedControllers, uint8_t* chunk) {
    std::memset(chunk, 0, kStateChunkBytes);
    storeWord(chunk, kStateChunkVersion);
    storeWord(chunk + 4, kStoredIdentifier);
    storeWord(chunk + 8, static_cast<uint32_t>(programs.getCurrentBank()));
    storeWord(chunk + 12, static_cast<uint32_t>(programs.getCurrentPreset()));
    for (int bank = 0; bank < ProgramStore::kBanks; ++bank) {
        for (int preset = 0; preset < ProgramStore::kPrograms; ++preset) {
            const Program& program = programs.program(bank, preset);
            writeRecord(program.name, program.values, chunk + recordOffset(bank, preset));
        }
    }
    for (int target = 0; target < kLearnTargetCount; ++target) {
        storeWord(chunk + kLearnOffset + 4 * target,
                  static_cast<uint32_t>(validController(learnedControllers[target])));
    }
}

bool readStateChunk(const uint8_t* data, size_t size, ProgramStore& programs,
                    ChunkSelection& selection) {
    if (data == nullptr || size != kStateChunkBytes) return false;
    uint32_t identifier = loadWord(data + 4);
    if (identifier != kStoredIdentifier && identifier != byteReversed(kStoredIdentifier))
        return false;
    WordReader chunk(data, identifier != kStoredIdentifier);
    if (chunk.word(0) != kStateChunkVersion) return false;

    for (int bank = 0; bank < ProgramStore::kBanks; ++bank) {
        for (int preset = 0; preset < ProgramStore::kPrograms; ++preset) {
            readRecord(chunk, recordOffset(bank, preset), programs.program(bank, preset));
        }
    }
    selection.bank = chunk.signedWord(8);
    selection.preset = chunk.signedWord(12);
    for (int target = 0; target < kLearnTargetCount; ++target) {
        selection.learnedControllers[target] =
            validController(chunk.signedWord(kLearnOffset + 4 * target));
    }
    return true;
}

bool selectsProgram(const ChunkSelection& selection) {
    return selection.bank >= 0 && selection.bank < ProgramStore::kBanks && selection.preset >= 0 &&
           selection.preset < ProgramStore::kPrograms;
}

}  // namespace kirra
