// Properties of the one parameter description, over every index and every module position: the
// rows cover the table, every text fits where it is written, and what the editor shows reads
// back as itself when typed. Plus the display edge cases a host relies on.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "engine/ParameterDescription.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"
#include "support/InProcessHost.h"
#include "support/ModuleTexts.h"

using namespace kirra;
using namespace kirra::param;
using testing_support::InProcessHost;

namespace {

// The sweep's step over a continuous range.
constexpr float kSweepStep = 1.0f / 512.0f;

// Values worth showing: every state of a small discrete range, a spread of a large one, a fine
// sweep of a continuous one.
std::vector<float> valuesOf(int states) {
    std::vector<float> values;
    if (states > 0 && states <= 512) {
        for (int state = 0; state < states; ++state)
            values.push_back(indexToValue(state, states));
    } else if (states > 0) {
        for (int step = 0; step < 512; ++step)
            values.push_back(indexToValue(static_cast<int>(step * (states - 1.0) / 511), states));
    } else {
        for (int step = 0; step <= 512; ++step)
            values.push_back(step * kSweepStep);
    }
    return values;
}

// A text that would be cut where it is written fills its buffer to the last byte; hosts and the
// editor's font show printable ASCII only.
bool fits(const ModuleText& text) {
    const size_t length = std::strlen(text);
    return length < sizeof(ModuleText) - 1 &&
           std::all_of(text, text + length, [](unsigned char c) { return c >= 32 && c <= 126; });
}

// A typed text reads back within one step of what was shown: the same text, the same number
// within one unit of its last shown digit ("251ms" may come back as "250ms", "-0dB" as "0dB"), or
// a value one sweep step away. Levels below -100 dB are shown but typed mean silence.
::testing::AssertionResult withinOneStep(const char* shown, const char* again, float value,
                                         float typed) {
    if (std::strcmp(shown, again) == 0) return ::testing::AssertionSuccess();
    if (std::fabs(typed - value) <= kSweepStep) return ::testing::AssertionSuccess();
    char* shownEnd = nullptr;
    char* againEnd = nullptr;
    const double a = std::strtod(shown, &shownEnd);
    const double b = std::strtod(again, &againEnd);
    if (shownEnd != shown && a < -100.0 && std::strncmp(again, "-oo", 3) == 0) {
        return ::testing::AssertionSuccess();
    }
    if (shownEnd != shown && againEnd != again) {
        const char* point = std::strchr(shown, '.');
        int decimals = 0;
        if (point != nullptr && point < shownEnd) decimals = static_cast<int>(shownEnd - point - 1);
        if (std::fabs(a - b) <= std::pow(10.0, -decimals) * 1.001) {
            return ::testing::AssertionSuccess();
        }
    }
    return ::testing::AssertionFailure()
           << "shown \"" << shown << "\", read back as \"" << again << "\"";
}

}  // namespace

TEST(ParameterDescription, RowsCoverTheTableInIndexOrder) {
    int next = 0;
    for (int r = 0; r < parameterRowCount(); ++r) {
        const ParameterDescriptor& row = parameterRow(r);
        ASSERT_EQ(row.first, next) << r;
        ASSERT_GT(row.count, 0);
        // A row never straddles what the host sees or what a program stores.
        EXPECT_EQ(row.first < kHostParameterCount, row.first + row.count - 1 < kHostParameterCount);
        EXPECT_EQ(row.first < kProgramParameterCount,
                  row.first + row.count - 1 < kProgramParameterCount);
        // Only what the host sees can be recorded as automation.
        if (row.isRecordedEdit()) {
            EXPECT_TRUE(row.isHostParameter());
        }
        next += row.count;
    }
    EXPECT_EQ(next, kInternalParameterCount);
    EXPECT_EQ(parameterGroup(-1), ParameterGroup::kUnused);
    EXPECT_EQ(parameterGroup(kInternalParameterCount), ParameterGroup::kUnused);
}

TEST(ParameterDescription, EveryTextFitsAndIsPrintableWithEveryModuleInTheSlots) {
    for (const auto& module : testing_support::everyModuleType()) {
        SlotModules slots;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const bool isOperator = dynamic_cast<const Operator*>(module.get()) != nullptr;
            (isOperator ? slots.operators : slots.modulators)[slot] = module.get();
        }
        ParameterContext context;
        context.modules = &slots;
        for (int index = 0; index < kInternalParameterCount; ++index) {
            ModuleText text;
            parameterName(index, context, text);
            ASSERT_TRUE(fits(text)) << index;
            parameterLabel(index, context, text);
            ASSERT_TRUE(fits(text)) << index;
            for (float value : valuesOf(describeParameter(index).states)) {
                parameterDisplay(index, value, context, text);
                ASSERT_TRUE(fits(text)) << index << " " << text;
                parameterEditorText(index, value, context, text);
                ASSERT_TRUE(fits(text)) << index << " " << text;
            }
        }
    }
}

TEST(ParameterDescription, EditorTextsOfGlobalParametersReadBackAsShown) {
    const auto every = testing_support::everyModuleType();
    SlotModules slots;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        slots.operators[slot] = every[kBiquad].get();
        slots.modulators[slot] = every[kOperatorTypeCount + kLFO].get();
    }
    for (float rate : {8000.0f, 44100.0f, 96000.0f, 384000.0f}) {
        ParameterContext context;
        context.modules = &slots;
        context.sampleRate = rate;
        for (int index = 0; index < kInternalParameterCount; ++index) {
            const ParameterDescriptor& row = describeParameter(index);
            const bool reads = row.fromText != nullptr || (row.states > 0 && row.display);
            // A type shows the module in the slot, whatever the value.
            if (!reads || row.group == ParameterGroup::kOperatorType ||
                row.group == ParameterGroup::kModulatorType ||
                row.group == ParameterGroup::kOperatorPosition ||
                row.group == ParameterGroup::kModulatorPosition) {
                continue;
            }
            for (float value : valuesOf(row.states)) {
                ModuleText shown;
                ModuleText again;
                parameterEditorText(index, value, context, shown);
                if (std::strcmp(shown, "---") == 0) continue;  // a position no module has
                float typed = parameterFromText(index, shown, 0.5f, context);
                parameterEditorText(index, typed, context, again);
                ASSERT_TRUE(withinOneStep(shown, again, value, typed))
                    << index << " at " << value << ", " << rate << " Hz";
            }
        }
    }
}

// The display edge cases a host and a user see, set in this order (the tempo's display depends
// on the tempo lock set before it).
TEST(ParameterDescription, HostDisplayEdgeCases) {
    InProcessHost host(48000.0f);
    Plugin& plugin = host.plugin();
    auto display = [&](int index) {
        return testing_support::hostText(plugin, &Plugin::getParameterDisplay, index);
    };
    EXPECT_EQ(testing_support::hostText(plugin, &Plugin::getParameterName, 263), "OP2->OP3");
    const struct {
        int index;
        float value;
        const char* text;
    } cases[] = {
        {kMix, 0.5f, "50.00000"},
        {kInput, 0.0f, "-oo"},
        {kDryDelay, indexToValue(1000, kDryDelayStates), "250 (5.2 ms)"},
        {kInToOp1, 0.5f, "-18"},  // routing shows the cube of its value, applies the square
        {kTempo, 0.0f, "auto"},
        {kTempoSync, indexToValue(0, kTempoSyncStates), "off"},
        {kTempo, 0.0f, "30.00"},
        {kOutLimiter, indexToValue(9, kLimiterStates), "n/a"},
        {kMeterHold, 1.0f, "oo"},
        {kMeterHold, 0.0f, "1000"},
    };
    for (const auto& c : cases) {
        plugin.setParameter(c.index, c.value);
        EXPECT_EQ(display(c.index), c.text) << c.index << " at " << c.value;
    }
    // The dry delay's state means a time: a later rate change keeps the time, not the samples.
    plugin.setSampleRate(96000.0f);
    EXPECT_EQ(display(kDryDelay), "500 (5.2 ms)");
}

// Texts that mean nothing keep the value, for every parameter.
TEST(ParameterDescription, TypedEdgeCases) {
    const ParameterContext context;
    for (int index = 0; index < kInternalParameterCount; ++index) {
        for (const char* nonsense : {"", "loud", "nan", "x1"}) {
            EXPECT_EQ(parameterFromText(index, nonsense, 0.3125f, context), 0.3125f)
                << index << " " << nonsense;
        }
    }
    auto shown = [&](int index, const char* typed, float current = 0.5f) {
        ModuleText text;
        parameterEditorText(index, parameterFromText(index, typed, current, context), context,
                            text);
        return std::string(text);
    };
    // Routing gains: whole decibels of the gain applied, never a boost, "-oo" for silence.
    EXPECT_EQ(shown(kInToOp1, "-12.5"), "-12");
    EXPECT_EQ(shown(kInToOp1, "+6"), "  0");
    EXPECT_EQ(shown(kInToOp1, " -inf"), "-oo");
    EXPECT_EQ(shown(kSlotSensitivity1, "-150"), "-100");
    EXPECT_EQ(shown(kOutput, "99"), "12.0");
    EXPECT_EQ(shown(kMeterHold, "500"), "1000 ms");
    // A number of milliseconds never means "for ever": the longest finite hold instead.
    EXPECT_EQ(shown(kMeterHold, "9999"), "4999 ms");
    EXPECT_EQ(shown(kMeterHold, "  Infinite"), "infinite");
    EXPECT_EQ(shown(kTempo, "1e9"), "300.0 bpm");
    EXPECT_EQ(shown(kPpqOffset, "-3"), "0/16");
    EXPECT_EQ(shown(kTempoSync, "on"), "enabled");  // the host's word reads too
    // What the meters use is the truncated reading; every typed whole number survives it.
    for (int speed = 6; speed <= 60; ++speed) {
        float value =
            parameterFromText(kMeterFalloff, std::to_string(speed).c_str(), 0.0f, context);
        ASSERT_EQ(static_cast<int>(units::meterFalloffDbPerSecond(value)), speed);
    }
    // Whole numbers shown by truncation come back as typed, not one less.
    for (int percent = -100; percent <= 100; ++percent) {
        std::string typed = (percent > 0 ? "+" : "") + std::to_string(percent);
        ASSERT_EQ(shown(kSlotSensitivity1, typed.c_str()), typed);
    }
    for (int db = -80; db <= 0; ++db) {
        char expected[8];
        std::snprintf(expected, sizeof(expected), "%3d", db);
        ASSERT_EQ(shown(kOpToOut1, std::to_string(db).c_str()), expected);
    }
    for (int ms = 1000; ms < 5000; ms += 7) {
        float value = parameterFromText(kMeterHold, std::to_string(ms).c_str(), 0.0f, context);
        ASSERT_EQ(units::meterHoldMs(value), ms);
    }
}
