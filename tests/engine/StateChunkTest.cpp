// The host's chunk: exact layout, round trips in both byte orders, rejection and the silent
// refusals, and the program selection it ends with.

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

#include "engine/ByteOrder.h"
#include "engine/StateChunk.h"
#include "modules/ModuleCatalogue.h"
#include "support/ConfigHome.h"
#include "support/InProcessHost.h"
#include "support/Signals.h"

using namespace testing_support;
using namespace kirra::param;

namespace {

constexpr size_t kLearnOffset = 324167;

size_t nameOffset(int bank, int preset) {
    return 45 + 108045 * bank + 1688 * preset;
}

size_t valueOffset(int bank, int preset, int index) {
    return 69 + 108045 * bank + 1688 * preset + 4 * index;
}

// Through the effect record, as a DAW restores its project.
int32_t restore(kirra::Plugin& plugin, std::vector<uint8_t> chunk) {
    return static_cast<int32_t>(
        plugin.getAeffect()->dispatcher(plugin.getAeffect(), vst::effSetChunk, 0,
                                        static_cast<intptr_t>(chunk.size()), chunk.data(), 0.0f));
}

// Program 6 of bank 3 selected and edited: a module type with its own position values, a
// level, a spare, a knob name character, a name, learned controllers; another bank edited too.
// Returns the chunk of that state.
std::vector<uint8_t> makeDistinctState(kirra::Plugin& plugin) {
    plugin.getPrograms().setCurrentBank(2);
    plugin.selectProgram(5);
    plugin.setParameter(kOperatorType1 + 1, stateValue(kirra::kStereo, 64));
    plugin.setParameter(operatorParameter(1, 1), 0.3f);
    plugin.setParameter(kInput, 0.61f);
    plugin.setParameter(kSpareFirst + 3, 0.77f);
    plugin.setParameter(kKnobName1, stateValue('A', kKnobCharacterStates));
    char name[] = "Twenty-four characters!! and more";  // the host's rename, cut to fit
    plugin.getAeffect()->dispatcher(plugin.getAeffect(), vst::effSetProgramName, 0, 0, name, 0.0f);
    plugin.setLearnedController(0, 74);
    plugin.setLearnedController(10, 7);
    kirra::Program& other = plugin.getPrograms().program(0, 63);
    other.setName("Elsewhere");
    other.values[kMix] = 0.25f;
    return chunkOf(plugin);
}

// Every 32-bit field byte-reversed: the header words, the values and the controller numbers.
std::vector<uint8_t> byteReversed(std::vector<uint8_t> chunk) {
    reverseWords(chunk, 0, 32);
    for (int bank = 0; bank < 3; ++bank) {
        for (int preset = 0; preset < 64; ++preset)
            reverseWords(chunk, valueOffset(bank, preset, 0),
                         valueOffset(bank, preset, kProgramParameterCount));
    }
    reverseWords(chunk, kLearnOffset, kLearnOffset + 4 * 11);
    return chunk;
}

}  // namespace

TEST(StateChunk, LayoutOfAFreshInstance) {
    InProcessHost host;
    void* data = nullptr;
    EXPECT_EQ(host.plugin().getChunk(&data, true), 324211);
    std::vector<uint8_t> chunk = chunkOf(host.plugin());
    ASSERT_EQ(chunk.size(), 324211u);
    const uint8_t header[] = {0, 0, 0, 1, 'r', 'K', 'n', 'V', 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(chunk.data(), header, sizeof(header)), 0);
    for (size_t offset = 16; offset < 45; ++offset)
        EXPECT_EQ(chunk[offset], 0) << offset;
    for (int bank = 1; bank < 3; ++bank) {
        for (size_t offset = 0; offset < 13; ++offset)
            EXPECT_EQ(chunk[108077 + 108045 * (bank - 1) + offset], 0);
    }
    // Every program's name and values where the layout puts them.
    const kirra::ProgramStore& programs = host.plugin().getPrograms();
    kirra::WordReader words(chunk.data(), false);
    for (int bank = 0; bank < 3; ++bank) {
        for (int preset = 0; preset < 64; ++preset) {
            const kirra::Program& program = programs.program(bank, preset);
            ASSERT_STREQ(reinterpret_cast<const char*>(&chunk[nameOffset(bank, preset)]),
                         program.name);
            for (int index = 0; index < kProgramParameterCount; index += 7)
                ASSERT_EQ(words.value(valueOffset(bank, preset, index)), program.values[index]);
        }
    }
    for (int target = 0; target < 11; ++target)
        EXPECT_EQ(words.signedWord(kLearnOffset + 4 * target), -1);
}

TEST(StateChunk, RoundTripRestoresNamesValuesLearningAndSelection) {
    InProcessHost original;
    const std::vector<uint8_t> saved = makeDistinctState(original.plugin());
    // A name of 24 characters fills its field without a terminator.
    EXPECT_EQ(std::memcmp(&saved[nameOffset(2, 5)], "Twenty-four characters!!", 24), 0);
    const Stereo input = stereo(noise(4096, 5, 0.5f));
    const std::vector<float> sound = original.process(input).left;

    for (bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "byte-reversed" : "native");
        InProcessHost restored;
        ASSERT_EQ(restore(restored.plugin(), reversed ? byteReversed(saved) : saved), 0);
        kirra::Plugin& plugin = restored.plugin();
        // The same bytes again: names, values, learned controllers and the selection.
        EXPECT_EQ(chunkOf(plugin), saved);
        // And what the selection implies: the program applied with its module types.
        EXPECT_EQ(plugin.getOperatorType(1), kirra::kStereo);
        EXPECT_EQ(plugin.getParameter(operatorParameter(1, 1)), 0.3f);
        EXPECT_EQ(plugin.getParameter(kSpareFirst + 3), 0.77f);
        EXPECT_GE(restored.script().updateDisplayCalls, 1);
        EXPECT_EQ(restored.process(input).left, sound);  // bit for bit
    }
}

TEST(StateChunk, RejectedChunksChangeNothing) {
    InProcessHost donor;
    std::vector<uint8_t> valid = makeDistinctState(donor.plugin());

    InProcessHost host;
    kirra::Plugin& plugin = host.plugin();
    std::vector<uint8_t> before = chunkOf(plugin);
    EXPECT_EQ(plugin.setChunk(nullptr, 324211, false), -1);
    EXPECT_EQ(plugin.setChunk(valid.data(), -5, false), -1);
    auto changed = [](std::vector<uint8_t> chunk, size_t at, uint8_t byte) {
        chunk[at] = byte;
        return chunk;
    };
    std::vector<uint8_t> longer = valid;
    longer.push_back(0);
    const std::vector<uint8_t> rejected[] = {
        std::vector<uint8_t>(valid.begin(), valid.end() - 1),
        longer,
        {},
        changed(valid, 4, 'x'),              // unknown
        changed(valid, 3, 2),                // another version
        changed(byteReversed(valid), 0, 2),  // another version, byte-reversed
    };
    for (const std::vector<uint8_t>& chunk : rejected)
        EXPECT_EQ(restore(plugin, chunk), -1) << chunk.size();
    EXPECT_EQ(chunkOf(plugin), before);
    EXPECT_EQ(host.script().updateDisplayCalls, 0);
}

TEST(StateChunk, OutOfRangeSelectionFillsTheBanksButSelectsNothing) {
    InProcessHost donor;
    std::vector<uint8_t> valid = makeDistinctState(donor.plugin());

    for (int32_t bank : {0, 3, -1}) {
        for (int32_t preset : {64, 0, -1}) {
            if (bank == 0 && preset == 0) continue;
            SCOPED_TRACE(testing::Message() << "bank " << bank << " preset " << preset);
            std::vector<uint8_t> chunk = valid;
            kirra::storeWord(&chunk[8], static_cast<uint32_t>(bank));
            kirra::storeWord(&chunk[12], static_cast<uint32_t>(preset));
            InProcessHost host;
            kirra::Plugin& plugin = host.plugin();
            EXPECT_EQ(restore(plugin, chunk), 0);
            EXPECT_EQ(plugin.getPrograms().getCurrentBank(), 0);
            EXPECT_EQ(plugin.getPrograms().getCurrentPreset(), 0);
            EXPECT_EQ(plugin.getOperatorType(1), kirra::kGain);
            EXPECT_EQ(plugin.getParameter(kInput), 0.5f);
            EXPECT_STREQ(plugin.getPrograms().program(2, 5).name, "Twenty-four characters!!");
            EXPECT_EQ(plugin.getLearnedController(0), 74);
        }
    }
}

TEST(StateChunk, HostileValuesAreLimitedAndNeverReachTheAudioAsNaN) {
    InProcessHost donor;
    std::vector<uint8_t> chunk = chunkOf(donor.plugin());
    const float hostile[] = {std::numeric_limits<float>::quiet_NaN(),
                             std::numeric_limits<float>::infinity(), -1e30f, 7.0f, -0.5f};
    for (int index = 0; index < kProgramParameterCount; ++index) {
        kirra::storeFloat(&chunk[valueOffset(0, 0, index)], hostile[index % 5]);
    }
    kirra::storeWord(&chunk[kLearnOffset], 300);
    kirra::storeWord(&chunk[kLearnOffset + 4], static_cast<uint32_t>(-7));
    std::memset(&chunk[nameOffset(0, 0)], 'x', 24);

    InProcessHost host;
    kirra::Plugin& plugin = host.plugin();
    ASSERT_EQ(restore(plugin, chunk), 0);
    for (int index = 0; index < kProgramParameterCount; ++index) {
        float value = plugin.getPrograms().program(0, 0).values[index];
        ASSERT_TRUE(value >= 0.0f && value <= 1.0f) << index;
        float live = plugin.getParameter(index);
        ASSERT_TRUE(live >= 0.0f && live <= 1.0f) << index;
    }
    EXPECT_EQ(plugin.getLearnedController(0), -1);
    EXPECT_EQ(plugin.getLearnedController(1), -1);
    EXPECT_EQ(std::strlen(plugin.getPrograms().program(0, 0).name), 24u);
    Stereo out = host.process(stereo(noise(8192, 3, 0.5f)));
    EXPECT_EQ(countBadSamples(out.left) + countBadSamples(out.right), 0);
}
