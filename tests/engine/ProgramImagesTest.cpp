// Preset and bank images: exact bytes, either byte order, the kind check and damaged data.

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/ProgramImages.h"
#include "support/ConfigHome.h"

using namespace kirra;

namespace {

Program testProgram(const char* name, float seed) {
    Program program;
    program.setName(name);
    for (int i = 0; i < param::kProgramParameterCount; ++i)
        program.values[i] = static_cast<float>((i * 37 + 11) % 1000) / 999.0f * seed;
    return program;
}

std::vector<uint8_t> presetImage(const Program& program) {
    std::vector<uint8_t> image(kPresetImageBytes);
    writePresetImage(program.name, program.values, image.data());
    return image;
}

// Every 32-bit field after the start reversed, as a big-endian machine writes the image.
std::vector<uint8_t> bigEndian(std::vector<uint8_t> image, int records) {
    testing_support::reverseWords(image, 0, 12);
    for (int p = 0; p < records; ++p) {
        size_t values = kImageHeaderBytes + p * kRecordBytes + kNameFieldBytes;
        testing_support::reverseWords(image, values, values + 4 * param::kProgramParameterCount);
    }
    return image;
}

void expectSameProgram(const Program& a, const Program& b) {
    EXPECT_STREQ(a.name, b.name);
    // Bit for bit: a round trip keeps every value exactly.
    // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison)
    EXPECT_EQ(std::memcmp(a.values, b.values, sizeof(a.values)), 0);
}

}  // namespace

TEST(ProgramImages, PresetImageBytes) {
    Program program = testProgram("Lead", 1.0f);
    std::vector<uint8_t> image = presetImage(program);
    const uint8_t header[] = {0x4e, 0x61, 0xbc, 0x00, 'r', 'K', 'n', 'V', '0',
                              '0',  '0',  '1',  '!',  'L', 'e', 'a', 'd', 0};
    EXPECT_EQ(std::memcmp(image.data(), header, sizeof(header)), 0);
    EXPECT_EQ(loadWord(&image[37 + 4 * 5]),
              loadWord(reinterpret_cast<uint8_t*>(&program.values[5])));
}

TEST(ProgramImages, PresetAndBankReadBackInEitherByteOrder) {
    std::vector<Program> written(ProgramStore::kPrograms);
    for (int p = 0; p < ProgramStore::kPrograms; ++p)
        written[p] = testProgram(("P" + std::to_string(p)).c_str(), p / 63.0f);
    written[0].setName("Twenty-four characters!!");  // fills its field without a terminator
    std::vector<uint8_t> image(kBankImageBytes);
    writeBankImage(written.data(), image.data());
    EXPECT_EQ(std::memcmp(&image[8], "00017", 5), 0);
    for (bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "byte-reversed" : "native");
        std::vector<uint8_t> preset = presetImage(written[0]);
        if (reversed) preset = bigEndian(preset, 1);
        Program readPreset;
        ASSERT_TRUE(readPresetImage(preset.data(), preset.size(), readPreset));
        expectSameProgram(readPreset, written[0]);
        std::vector<Program> read(ProgramStore::kPrograms);
        std::vector<uint8_t> data = reversed ? bigEndian(image, ProgramStore::kPrograms) : image;
        ASSERT_TRUE(readBankImage(data.data(), data.size(), read.data()));
        for (int p = 0; p < ProgramStore::kPrograms; ++p)
            expectSameProgram(read[p], written[p]);
    }
}

TEST(ProgramImages, DamagedOrForeignDataIsIgnored) {
    Program original = testProgram("Keep", 0.5f);
    std::vector<uint8_t> preset = presetImage(testProgram("New", 1.0f));
    std::vector<uint8_t> bank(kBankImageBytes);
    std::vector<Program> programs(ProgramStore::kPrograms, original);
    writeBankImage(programs.data(), bank.data());

    auto rejectedAsPreset = [&](const std::vector<uint8_t>& data) {
        Program target = original;
        bool read = readPresetImage(data.empty() ? nullptr : data.data(), data.size(), target);
        if (!read) expectSameProgram(target, original);
        return !read;
    };
    EXPECT_TRUE(rejectedAsPreset(bank));  // a bank given to the preset reader
    EXPECT_TRUE(rejectedAsPreset({}));
    EXPECT_TRUE(rejectedAsPreset(std::vector<uint8_t>(preset.begin(), preset.end() - 1)));
    for (size_t at : {0, 1, 3, 4, 7, 12}) {
        std::vector<uint8_t> damaged = preset;
        damaged[at] ^= 0x20;
        EXPECT_TRUE(rejectedAsPreset(damaged)) << "byte " << at;
    }
    // The format word before the kind is not examined; bytes past the image are not either.
    std::vector<uint8_t> lenient = preset;
    lenient[9] = 'x';
    lenient.push_back(0xff);
    EXPECT_FALSE(rejectedAsPreset(lenient));

    std::vector<Program> target(ProgramStore::kPrograms, original);
    EXPECT_FALSE(readBankImage(preset.data(), preset.size(), target.data()));
    std::vector<uint8_t> paddedPreset = preset;
    paddedPreset.resize(kBankImageBytes);
    EXPECT_FALSE(readBankImage(paddedPreset.data(), paddedPreset.size(), target.data()));
    EXPECT_FALSE(readBankImage(bank.data(), bank.size() - 1, target.data()));
    EXPECT_FALSE(readBankImage(nullptr, kBankImageBytes, target.data()));
    expectSameProgram(target[0], original);
}
