// The program compiler: what a sound designer writes becomes exactly the values the plug-in
// would hold after the same edits, and anything it cannot place is reported with its line.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/FactoryBanks.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"
#include "presetc/PresetCompiler.h"

using namespace kirra::param;
using kirra::indexToValue;

namespace {

struct Result {
    bool ok;
    presets::CompiledProgram program;
    std::vector<presets::Diagnostic> diagnostics;
};

Result compile(const std::string& text) {
    static presets::PresetCompiler compiler;
    Result result;
    result.ok = compiler.compileProgram(text, "test.program", result.program, result.diagnostics);
    return result;
}

std::string firstMessage(const Result& result) {
    return result.diagnostics.empty() ? "" : result.diagnostics.front().message;
}

}  // namespace

TEST(PresetCompiler, SectionsSetModulesSlotsKnobsAndTheMainSection) {
    Result result = compile(R"(
        program = "Test Sweep"   # a comment
        [main]
        Mix = "50 %"
        OutLimiter = fast
        IN->OP2 = "-oo"
        OP2 bypass = bypass
        [op2 STEREO]
        width = "150 %"
        balance = 0.25
        [mod1 LFO]
        waveform = "sine"
        [slot4]
        source = "MOD 1: LFO"
        destination = "OP2 width"
        sensitivity = "-50"
        muted = yes
        [knob3 "DRIVE"]
        value = "25"
    )");
    ASSERT_TRUE(result.ok) << firstMessage(result);
    const auto& v = result.program.values;
    EXPECT_EQ(result.program.name, "Test Sweep");
    EXPECT_FLOAT_EQ(v[kMix], 0.5f);
    EXPECT_EQ(kirra::valueToIndex(v[kOutLimiter], kLimiterStates), 3);
    EXPECT_EQ(v[kInToOp1 + 1], 0.0f);
    EXPECT_EQ(kirra::valueToIndex(v[kOperatorBypass1 + 1], 2), 1);
    EXPECT_EQ(kirra::valueToIndex(v[kOperatorType1 + 1], 64), kirra::kStereo);
    EXPECT_FLOAT_EQ(v[operatorParameter(1, 1)], 0.75f);
    EXPECT_FLOAT_EQ(v[operatorParameter(1, 0)], 0.25f);
    EXPECT_EQ(kirra::valueToIndex(v[kModulatorType1], 64), kirra::kLFO);
    EXPECT_EQ(kirra::valueToIndex(v[kSlotSource1 + 3], kSourceStates), 0);
    EXPECT_EQ(kirra::valueToIndex(v[kSlotDestination1 + 3], kDestinationStates), 3 + 16 + 1);
    EXPECT_FLOAT_EQ(v[kSlotSensitivity1 + 3], 0.25f);
    EXPECT_EQ(kirra::valueToIndex(v[kSlotStatus], kSlotStatusStates), 1 << 3);
    EXPECT_FLOAT_EQ(v[kKnob1 + 2], 0.25f);
    EXPECT_EQ(kirra::valueToIndex(v[kKnobName1 + 16], 128), 'D');
    EXPECT_EQ(kirra::valueToIndex(v[kKnobName1 + 20], 128), 'E');
    EXPECT_EQ(kirra::valueToIndex(v[kKnobName1 + 21], 128), 0);
    // Everything not mentioned keeps the neutral program's value.
    EXPECT_FLOAT_EQ(v[operatorParameter(0, 0)], 1.0f);
    EXPECT_FLOAT_EQ(v[kInput], 0.5f);
}

TEST(PresetCompiler, ProgramsDoNotLeakIntoEachOther) {
    ASSERT_TRUE(compile("program = \"One\"\n[op1 COMB]\n[main]\nMix = 0.2\n").ok);
    Result second = compile("program = \"Two\"\n");
    ASSERT_TRUE(second.ok);
    EXPECT_EQ(kirra::valueToIndex(second.program.values[kOperatorType1], 64), kirra::kGain);
    EXPECT_FLOAT_EQ(second.program.values[kMix], 1.0f);
}

TEST(PresetCompiler, ReportsWhatItCannotPlaceWithItsLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"program = \"X\"\n[op1 WOBBLER]", "unknown module type"},
        {"program = \"X\"\n[op5 GAIN]", "numbers run from 1 to 4"},
        {"program = \"X\"\n[op1 GAIN]\ncutoff = 0.5", "has no parameter 'cutoff'"},
        {"program = \"X\"\n[op1 GAIN]\natten = 1.5", "outside 0..1"},
        {"program = \"X\"\n[op1 GAIN]\natten = \"loud\"", "not a value"},
        {"program = \"X\"\n[main]\nWobble = 0.5", "no parameter 'Wobble'"},
        {"program = \"X\"\n[main]\nOutLimiter = \"furious\"", "not a value"},
        {"program = \"X\"\n[slot1]\ndestination = \"OP1 cutoff\"", "not a value"},
        {"program = \"X\"\n[knob1 \"TOOLONGNAME\"]", "at most 8 characters"},
        {"program = \"X\"\n[knob1 \"K\xC3\xA9\"]", "printable ASCII"},
        {"program = \"X\"\n[bogus]", "unknown section"},
        {"program = \"X\"\nMix = 0.5", "belongs in a section"},
        {"program = \"X\"\n[main]\nMix", "expected 'key = value'"},
        {"[main]\nMix = 0.5", "no 'program"},
        {"program = \"A name far longer than allowed\"", "1 to 24 characters"},
    };
    for (const auto& [text, expected] : cases) {
        Result result = compile(text);
        EXPECT_FALSE(result.ok) << text;
        ASSERT_FALSE(result.diagnostics.empty()) << text;
        EXPECT_NE(result.diagnostics.front().message.find(expected), std::string::npos)
            << text << " -> " << result.diagnostics.front().message;
        EXPECT_EQ(result.diagnostics.front().file, "test.program");
    }
    EXPECT_EQ(compile("program = \"X\"\n\n[op1 GAIN]\natten = 2").diagnostics.front().line, 4);
}

TEST(PresetCompiler, BanksNeedAllSixtyFourNumberedFiles) {
    namespace fs = std::filesystem;
    fs::path folder = fs::path(::testing::TempDir()) / "kirra_presets_test";
    fs::remove_all(folder);
    for (const char* bank : {"A", "B", "C"}) {
        fs::create_directories(folder / bank);
        for (int number = 1; number <= 64; ++number) {
            char name[32];
            std::snprintf(name, sizeof(name), "%02d-p.program", number);
            std::ofstream(folder / bank / name) << "program = \"P" << number << "\"\n";
        }
    }
    presets::PresetCompiler compiler;
    presets::Banks banks;
    std::vector<presets::Diagnostic> diagnostics;
    ASSERT_TRUE(compiler.compileBanks(folder.string(), banks, diagnostics));
    EXPECT_EQ(banks[2][63].name, "P64");
    std::string source = presets::generateSource(banks);
    EXPECT_NE(source.find("\"P17\""), std::string::npos);

    fs::remove(folder / "B" / "07-p.program");
    std::ofstream(folder / "C" / "7-short.program") << "program = \"S\"\n";
    diagnostics.clear();
    EXPECT_FALSE(compiler.compileBanks(folder.string(), banks, diagnostics));
    ASSERT_EQ(diagnostics.size(), 2u);
    fs::remove_all(folder);
}

TEST(PresetCompiler, ThePlugInCarriesTheCompiledFactoryBanks) {
    presets::PresetCompiler compiler;
    presets::Banks banks;
    std::vector<presets::Diagnostic> diagnostics;
    ASSERT_TRUE(compiler.compileBanks(KIRRA_SOURCE_DIR "/presets", banks, diagnostics));
    for (int bank = 0; bank < presets::kBanks; ++bank) {
        const kirra::FactoryBank& built = kirra::factoryBank(bank);
        for (int program = 0; program < presets::kProgramsPerBank; ++program) {
            ASSERT_EQ(banks[bank][program].name, built.names[program]);
            for (int index = 0; index < kProgramParameterCount; ++index) {
                ASSERT_EQ(banks[bank][program].values[index], built.values[program][index])
                    << bank << ":" << program << " index " << index;
            }
        }
    }
    EXPECT_STREQ(kirra::factoryBank(0).names[0], "[flat]");
}
