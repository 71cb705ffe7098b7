#include "engine/ProgramImages.h"

#include <cstring>

#include "modules/ModuleMath.h"

namespace kirra {

namespace {

// Bytes 8..12 of the header: a format word and the kind, '!' for a preset, '7' for a bank.
constexpr char kPresetFormat[] = "0001!";
constexpr char kBankFormat[] = "00017";
constexpr size_t kKindOffset = 12;

void writeHeader(uint8_t* image, const char* format) {
    storeWord(image, kImageMagic);
    storeWord(image + 4, kStoredIdentifier);
    std::memcpy(image + 8, format, 5);
}

// Finds the byte order from the magic and checks identifier and kind.
bool checkHeader(const uint8_t* data, size_t size, size_t imageBytes, char kind, bool& reversed) {
    if (data == nullptr || size < imageBytes) return false;
    uint32_t magic = loadWord(data);
    if (magic == kImageMagic) {
        reversed = false;
    } else if (magic == byteReversed(kImageMagic)) {
        reversed = true;
    } else {
        return false;
    }
    WordReader reader(data, reversed);
    return reader.word(4) == kStoredIdentifier && data[kKindOffset] == static_cast<uint8_t>(kind);
}

}  // namespace

void writeRecord(const char* name, const float* values, uint8_t* record) {
    std::memset(record, 0, kNameFieldBytes);
    if (name != nullptr) std::memcpy(record, name, strnlen(name, kNameFieldBytes));
    for (int i = 0; i < param::kProgramParameterCount; ++i) {
        storeFloat(record + kNameFieldBytes + 4 * i, values[i]);
    }
}

void readRecord(const WordReader& image, size_t offset, Program& program) {
    char name[kNameFieldBytes + 1] = {};
    std::memcpy(name, image.bytes(offset), kNameFieldBytes);
    program.setName(name);
    for (int i = 0; i < param::kProgramParameterCount; ++i) {
        program.values[i] = sanitizeUnit(image.value(offset + kNameFieldBytes + 4 * i));
    }
}

void writePresetImage(const char* name, const float* values, uint8_t* image) {
    writeHeader(image, kPresetFormat);
    writeRecord(name, values, image + kImageHeaderBytes);
}

void writeBankImage(const Program* programs, uint8_t* image) {
    writeHeader(image, kBankFormat);
    for (int p = 0; p < ProgramStore::kPrograms; ++p) {
        writeRecord(programs[p].name, programs[p].values,
                    image + kImageHeaderBytes + p * kRecordBytes);
    }
}

bool readPresetImage(const uint8_t* data, size_t size, Program& program) {
    bool reversed = false;
    if (!checkHeader(data, size, kPresetImageBytes, kPresetFormat[4], reversed)) return false;
    readRecord(WordReader(data, reversed), kImageHeaderBytes, program);
    return true;
}

bool readBankImage(const uint8_t* data, size_t size, Program* programs) {
    bool reversed = false;
    if (!checkHeader(data, size, kBankImageBytes, kBankFormat[4], reversed)) return false;
    WordReader reader(data, reversed);
    for (int p = 0; p < ProgramStore::kPrograms; ++p) {
        readRecord(reader, kImageHeaderBytes + p * kRecordBytes, programs[p]);
    }
    return true;
}

}  // namespace kirra
