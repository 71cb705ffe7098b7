// The program compiler: malformed text and names the plug-in does not know are reported once,
// with their line; a text means what the plug-in shows for it; the generated tables hold exactly
// the values the compiler produced.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "engine/FactoryBanks.h"
#include "engine/ParameterDescription.h"
#include "engine/ProgramStore.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"
#include "presetc/PresetCompiler.h"
#include "presetc/SourceGenerator.h"
#include "presetc/ValueConversions.h"
#include "support/InProcessHost.h"
#include "support/SlotRouting.h"

using namespace kirra::param;

namespace {

struct Result {
    bool ok;
    presets::CompiledProgram program;
    std::vector<presets::Diagnostic> diagnostics;
    std::string messages() const {
        std::string all;
        for (const auto& diagnostic : diagnostics)
            all += std::to_string(diagnostic.line) + ": " + diagnostic.message + "\n";
        return all;
    }
};

Result compile(const std::string& text) {
    static presets::PresetCompiler compiler;
    Result result;
    result.ok = compiler.compileProgram(text, "test.program", result.program, result.diagnostics);
    return result;
}

// The text holds one mistake, reported once: nothing after it is reported again.
void expectOneDiagnostic(const char* text, const char* expected, int line) {
    Result result = compile(text);
    EXPECT_FALSE(result.ok) << text;
    ASSERT_EQ(result.diagnostics.size(), 1u) << text << "\n" << result.messages();
    EXPECT_NE(result.diagnostics[0].message.find(expected), std::string::npos) << text << "\n"
                                                                               << result.messages();
    EXPECT_EQ(result.diagnostics[0].line, line) << text;
    EXPECT_EQ(result.diagnostics[0].file, "test.program");
}

}  // namespace

TEST(ProgramParser, ReportsMalformedTextOnceWithItsLine) {
    expectOneDiagnostic("program = \"X\"\n[op1 GAIN\natten = 2", "ends with ']'", 2);
    expectOneDiagnostic("program = \"X\"\n[op5 GAIN]\natten = 2", "numbers run from 1 to 4", 2);
    expectOneDiagnostic("program = \"X\"\n[slot01]", "numbers run from 1 to 16", 2);
    expectOneDiagnostic("program = \"X\"\n[bogus]\nx = 1", "unknown section", 2);
    expectOneDiagnostic("program = \"X\"\n[main]\nMix", "expected 'key = value'", 3);
    expectOneDiagnostic("program = \"X\"\nMix = 0.5", "belongs in a section", 2);
    expectOneDiagnostic("program = \"X\"\n[slot1]\nsauce = 1", "source, destination", 3);
    expectOneDiagnostic("program = \"X\"\n[knob1]\nvalu = 1", "'value' only", 3);
    expectOneDiagnostic("program = \"X\"\n[knob1 \"TOOLONGNAME\"]", "at most 8 characters", 2);
    expectOneDiagnostic("program = \"X\"\n[knob1 \"K\xC3\xA9\"]", "printable ASCII", 2);
    expectOneDiagnostic("program = \"A name far longer than allowed\"", "1 to 24 characters", 1);
    expectOneDiagnostic("[main]\nMix = 0.5", "no 'program", 0);
}

TEST(ProgramApplier, ReportsWhatThePlugInDoesNotKnowOnceWithItsLine) {
    expectOneDiagnostic("program = \"X\"\n[op1 WOBBLER]\natten = 1", "unknown module type", 2);
    expectOneDiagnostic("program = \"X\"\n[op1 GAIN]\ncutoff = 0.5", "no parameter 'cutoff'", 3);
    expectOneDiagnostic("program = \"X\"\n[op1 GAIN]\n\natten = 1.5", "outside 0..1", 4);
    expectOneDiagnostic("program = \"X\"\n[op1 GAIN]\natten = \"loud\"", "not a value", 3);
    expectOneDiagnostic("program = \"X\"\n[main]\nWobble = 0.5", "no parameter 'Wobble'", 3);
    expectOneDiagnostic("program = \"X\"\n[main]\nOutLimiter = furious", "not a value", 3);
    expectOneDiagnostic("program = \"X\"\n[slot1]\ndestination = \"OP1 cutoff\"", "not a value", 3);
    expectOneDiagnostic("program = \"X\"\n[slot1]\nsensitivity = \"lots\"", "not a value", 3);
    expectOneDiagnostic("program = \"X\"\n[slot1]\nmuted = perhaps", "yes or no", 3);
    // Mistakes of both kinds come in line order.
    Result both = compile("program = \"X\"\n[op1 WOBBLER]\n[bogus]");
    ASSERT_EQ(both.diagnostics.size(), 2u);
    EXPECT_EQ(both.diagnostics[0].line, 2);
    EXPECT_EQ(both.diagnostics[1].line, 3);
}

// Every parameter a program names, set by the text the editor shows for a value, compiles to a
// value the editor shows the same way: the compiler reads texts exactly as the plug-in does.
TEST(ProgramApplier, EveryNamedParameterReadsItsEditorText) {
    testing_support::InProcessHost host;
    kirra::Plugin& plugin = host.plugin();
    auto compiledText = [&](const std::string& section, int index, const std::string& key,
                            const kirra::ModuleText& shown) {
        Result result =
            compile("program = \"P\"\n" + section + "\n" + key + " = \"" + shown + "\"\n");
        EXPECT_TRUE(result.ok) << key << " = " << shown << "\n" << result.messages();
        kirra::ModuleText again;
        plugin.getEditorText(index, result.program.values[index], again);
        EXPECT_STREQ(again, shown) << section << " " << key;
    };
    for (int index = 0; index < kProgramParameterCount; ++index) {
        kirra::ModuleText name;
        kirra::parameterName(index, kirra::ParameterContext(), name);
        if (presets::conversions::mainParameter(name) != index) continue;
        for (float value : {0.0f, 0.3f, 1.0f}) {
            kirra::ModuleText shown;
            plugin.getEditorText(index, value, shown);
            compiledText("[main]", index, name, shown);
        }
    }
    for (int type = 0; type < kirra::kOperatorTypeCount + kirra::kModulatorTypeCount; ++type) {
        const bool isOperator = type < kirra::kOperatorTypeCount;
        const int own = isOperator ? type : type - kirra::kOperatorTypeCount;
        const int typeIndex = isOperator ? kOperatorType1 : kModulatorType1;
        plugin.setParameter(typeIndex, kirra::indexToValue(own, kirra::kModuleTypeStates));
        const std::string section =
            std::string(isOperator ? "[op1 " : "[mod1 ") +
            (isOperator ? kirra::operatorCatalogue(own) : kirra::modulatorCatalogue(own))
                .shortName +
            "]";
        for (int position = 0; position < (isOperator ? kOperatorPositions : kModulatorPositions);
             ++position) {
            const int index =
                isOperator ? operatorParameter(0, position) : modulatorParameter(0, position);
            kirra::ModuleText name;
            kirra::ModuleText shown;
            plugin.getParameterName(index, name);
            plugin.getEditorText(index, 0.3f, shown);
            const std::string key = std::string(name).substr(isOperator ? 4 : 5);
            // Positions that are only modulated, or show nothing at this value, take no text.
            if (key == "---" || shown[0] == 0 || std::strcmp(shown, "---") == 0) continue;
            compiledText(section, index, key, shown);
        }
    }
}

TEST(ProgramApplier, SlotsAndKnobsReadTheirNames) {
    // A quoted '#' is text; after the value it starts a comment.
    Result result = compile(R"(program = "Sh#wn"  # the name, then a comment
        [mod1 LFO]
        [slot1]
        source = "MOD 1: LFO"
        destination = "OP1 atten"
        muted = yes
        [slot2]
        destination = "OP2 atten"
        [op2 COMB]
        [knob2 "SWEEP"]
    )");
    ASSERT_TRUE(result.ok) << result.messages();
    EXPECT_EQ(result.program.name, "Sh#wn");
    testing_support::InProcessHost host;
    kirra::Program program;
    std::copy(result.program.values.begin(), result.program.values.end(), program.values);
    host.plugin().applyPreset(program);
    auto display = [&](int index) {
        return testing_support::hostText(host.plugin(), &kirra::Plugin::getParameterDisplay, index);
    };
    EXPECT_EQ(display(kSlotSource1), "MOD 1: LFO");
    EXPECT_EQ(display(kSlotDestination1), "OP1 atten");
    EXPECT_EQ(display(kSlotStatus), "1");
    // Choosing a type after a slot aimed at the previous module frees that slot, as in the editor.
    EXPECT_EQ(display(kSlotDestination1 + 1), display(kSlotDestination1 + 2));
    EXPECT_EQ(testing_support::knobName(program.values, 1), "SWEEP");
}

TEST(ProgramApplier, EveryProgramStartsFromFlat) {
    Result flat = compile("program = \"Flat\"\n");
    ASSERT_TRUE(compile("program = \"One\"\n[op1 COMB]\n[main]\nMix = 0.2\n[knob1 \"K\"]").ok);
    EXPECT_EQ(compile("program = \"Two\"\n").program.values, flat.program.values);
}

TEST(SourceGenerator, LiteralsReadBackAsTheSameFloats) {
    presets::Banks banks;
    presets::CompiledProgram program;
    program.name = "Say \"hi\" \\ 1/2";
    const float samples[] = {0.0f, 1.0f, 0.1f, 1e-7f, 0.333333f, 1e-40f, 0.99999994f};
    std::copy(std::begin(samples), std::end(samples), program.values.begin());
    for (auto& bank : banks)
        bank.assign(1, program);
    const std::string source = presets::generateSource(banks);
    EXPECT_NE(source.find(R"("Say \"hi\" \\ 1/2")"), std::string::npos);
    // The first table's literals, in order.
    const char* cursor = source.c_str() + source.find("            {") + 13;
    for (float expected : program.values) {
        char* end = nullptr;
        float read = std::strtof(cursor, &end);
        ASSERT_EQ(*end, 'f') << "a float literal";
        // Bit for bit, so that a literal of a different float with the same value fails too.
        // NOLINTNEXTLINE(bugprone-suspicious-memory-comparison)
        EXPECT_EQ(std::memcmp(&read, &expected, sizeof(float)), 0) << read << " vs " << expected;
        cursor = end + 2;  // past "f," or "f}"
    }
}

TEST(PresetCompiler, ReportsProgramFilesMisnamedMissingOrNumberedTwice) {
    namespace fs = std::filesystem;
    fs::path folder = fs::path(::testing::TempDir()) / "kirra_presets_test";
    fs::remove_all(folder);
    fs::create_directories(folder / "A");
    for (const char* name : {"01-p.program", "7-short.program", "08-p.program", "08-q.program"})
        std::ofstream(folder / "A" / name) << "program = \"P\"\n";
    presets::PresetCompiler compiler;
    presets::Banks banks;
    std::vector<presets::Diagnostic> diagnostics;
    EXPECT_FALSE(compiler.compileBanks(folder.string(), banks, diagnostics));
    std::string all;
    for (const auto& diagnostic : diagnostics)
        all += diagnostic.message + "\n";
    EXPECT_NE(all.find("named NN-title.program"), std::string::npos) << all;
    EXPECT_NE(all.find("a second program numbered 8"), std::string::npos) << all;
    EXPECT_NE(all.find("program 2 is missing"), std::string::npos) << all;
    EXPECT_EQ(all.find("program 1 is missing"), std::string::npos) << all;
    fs::remove_all(folder);
}

// The whole way round: presets/ compiled here, and the generated tables the plug-in was built
// with, hold the same programs.
TEST(PresetCompiler, ThePlugInCarriesTheCompiledFactoryBanks) {
    presets::PresetCompiler compiler;
    presets::Banks banks;
    std::vector<presets::Diagnostic> diagnostics;
    ASSERT_TRUE(compiler.compileBanks(KIRRA_SOURCE_DIR "/presets", banks, diagnostics));
    for (int bank = 0; bank < presets::kBanks; ++bank) {
        const kirra::FactoryBank& built = kirra::factoryBank(bank);
        for (int program = 0; program < presets::kProgramsPerBank; ++program) {
            const presets::CompiledProgram& compiled = banks[bank][program];
            ASSERT_EQ(compiled.name, built.names[program]);
            ASSERT_TRUE(
                std::equal(compiled.values.begin(), compiled.values.end(), built.values[program]))
                << bank << ":" << program;
        }
    }
}
