// The filter plots against the sound: a filter operator in slot 1 with a setting that shapes its
// response, the plot read from its panel, and sines through the plug-in measured at the
// frequencies of a set of columns. Each filter's own plot is measured against its sound in the
// operator tests; here the morph of two complex responses and the equalizer, whose gains sit
// past the first seven positions, show that the panel hands the plot every value.
// And the modulation preview: with preview left or right the plots follow that channel's
// modulated values, while the controls keep the base values; editing, a modal view or preview
// off bring the base values back.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <utility>
#include <vector>

#include "editor/CModuleParam.h"
#include "editor/EditorFixture.h"
#include "editor/panels/FilterPanel.h"
#include "engine/ModulationSlots.h"
#include "engine/ParameterIndex.h"
#include "modulators/LFO.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"
#include "support/Signals.h"
#include "support/SlotRouting.h"

namespace {

using namespace kirra;
using kirra::editor::CResponsePlot;
using kirra::editor::FilterPanel;

struct FilterCase {
    const char* name;
    int type;
    std::vector<std::pair<int, float>> settings;  // position, value
};

// Test listings name a case instead of dumping its bytes.
void PrintTo(const FilterCase& filter, std::ostream* out) {
    *out << filter.name;
}

// Knob value of a frequency, 20 * 1000^v Hz.
float hertz(double frequency) {
    return static_cast<float>(std::log(frequency / 20.0) / std::log(1000.0));
}

const FilterCase kCases[] = {
    // Low-pass A crossfaded with a resonant band-pass B: the morph of complex responses.
    {"Biquad",
     kBiquad,
     {{0, hertz(1000)},
      {1, 0.5f},
      {2, 0.125f},
      {3, hertz(3000)},
      {4, 0.4f},
      {5, 0.375f},
      {6, 0.3f}}},
    {"EQ",
     kEQ,
     {{0, hertz(1000)},
      {1, 0.5f},
      {2, 0.5f},
      {7, 0.75f},
      {3, hertz(5000)},
      {5, 0.8f},
      {8, 0.375f},
      {6, 0.25f}}},
};

class ResponseFixture : public editor_tests::PanelFixture {
  protected:
    CResponsePlot& showFilter(const FilterCase& filter) {
        setOperatorType(filter.type);
        for (const auto& [position, value] : filter.settings)
            setOperator(position, value);
        tick();
        CResponsePlot* plot = operatorPanel<FilterPanel>().plot();
        EXPECT_NE(plot, nullptr);
        return *plot;
    }

    // The gain in dB the plug-in applies to a steady sine, measured once it has settled.
    double measuredDb(double frequency) {
        plugin().suspend();
        const double sampleRate = plugin().getSampleRate();
        const size_t frames = 16384;
        testing_support::Stereo output = host->process(
            testing_support::stereo(testing_support::sine(frequency, sampleRate, frames)));
        return testing_support::toDb(
            testing_support::amplitudeAt(output.left, frequency, sampleRate, frames / 2, frames));
    }
};

class ResponsePlot : public ResponseFixture, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(ResponsePlot, ColumnsShowWhatTheOperatorDoes) {
    CResponsePlot& plot = showFilter(GetParam());
    const int columns = plot.columnCount();
    int compared = 0;
    // Columns from about 50 Hz up: below that a sine takes too long to settle.
    for (int column = columns / 8; column < columns; column += columns / 12) {
        const double plotted = plot.columnDecibels(column);
        if (plotted < -60.0) continue;
        const double frequency = plot.columnFrequencyHz(column);
        EXPECT_NEAR(measuredDb(frequency), plotted, 0.5)
            << GetParam().name << " at column " << column << " (" << frequency << " Hz)";
        ++compared;
    }
    EXPECT_GE(compared, 8);
}

INSTANTIATE_TEST_SUITE_P(Filters, ResponsePlot, ::testing::ValuesIn(kCases),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

using ResponsePlotEdges = ResponseFixture;

TEST_F(ResponsePlotEdges, FlatFiltersDrawTheCentreLine) {
    // Two equalizer bands at 0 dB, and a phaser without depth: flat whatever else is set.
    const FilterCase flat[] = {{"EQ", kEQ, {{1, 0.8f}, {6, 0.6f}}},
                               {"phaser", kPhaser, {{0, 0.7f}, {1, 0.5f}}}};
    for (const FilterCase& filter : flat) {
        CResponsePlot& plot = showFilter(filter);
        for (int column = 0; column < plot.columnCount(); ++column)
            ASSERT_EQ(plot.columnY(column), plot.centreY()) << filter.name << ", column " << column;
    }
}

TEST_F(ResponsePlotEdges, ADeepNotchIsDrawnAtTheBottomEdge) {
    CResponsePlot& plot = showFilter({"notch", kBiquad, {}});
    // The notch right on a column's frequency: the knob value of column i is i / N.
    const int column = plot.columnCount() / 2;
    setOperator(0, static_cast<float>(column) / plot.columnCount());
    setOperator(1, 1.0f);
    setOperator(2, indexToValue(2, 4));
    tick();
    EXPECT_LT(plot.columnDecibels(column), -90.0f);
    EXPECT_EQ(plot.columnY(column), plot.plotArea().bottom - 1);
    EXPECT_GT(plot.columnDecibels(column / 2), -1.0f);
}

TEST_F(ResponsePlotEdges, FollowsTheSampleRate) {
    // A fixed frequency is a different share of the sample rate: the curve must move with it.
    CResponsePlot& plot = showFilter({"moog", kMoog, {{0, hertz(5000)}}});
    const int column = plot.columnCount() * 9 / 10;
    const float at44k = plot.columnDecibels(column);
    plugin().setSampleRate(96000.0f);
    tick();
    const float at96k = plot.columnDecibels(column);
    EXPECT_GT(std::fabs(at96k - at44k), 1.0f);
    EXPECT_NEAR(measuredDb(plot.columnFrequencyHz(column)), at96k, 0.5);
}

constexpr int kKnob1 = ModulationSlots::kSourceKnob1;

int operatorDestination(int position) {
    return ModulationSlots::kDestinationOperator + position;
}

class ModulationPreview : public editor_tests::PanelFixture {
  protected:
    // A Biquad low-pass at 1 kHz whose frequency knob 1 moves up on the left, down on the right.
    ModulationPreview() {
        setOperatorType(kBiquad);
        setOperator(0, 0.5f);
        plugin().setParameter(param::kKnob1, 1.0f);
        testing_support::routeSlot(plugin(), 0, kKnob1, operatorDestination(0), 0.75f);
        tick();
        plot = operatorPanel<FilterPanel>().plot();
        // Where the base curve is at -20 dB, in the low-pass's slope.
        column = plot->columnCount() * 3 / 4;
    }
    void preview(int mode) {
        plugin().setParameter(param::kModulationPreview, indexToValue(mode, 3));
        process(4096);
        tick();
    }

    CResponsePlot* plot = nullptr;
    int column = 0;
};

TEST_F(ModulationPreview, ThePlotFollowsEachChannelsModulatedCopyUnlessEditingOrAModal) {
    const float base = plot->columnDecibels(column);
    preview(1);
    // Knob at 1 with sensitivity 0.75 adds half the range to the frequency: the slope moves up,
    // the control keeps the base value.
    const float previewed = plot->columnDecibels(column);
    EXPECT_GT(previewed, base + 10.0f);
    EXPECT_FLOAT_EQ(frame().operatorPanel()->controlAt(0)->getValue(), 0.5f);

    // A drag on one of the module's controls: the plot shows what is being set.
    gui::Control* resonance = frame().operatorPanel()->controlAt(1);
    const gui::Rect rect = resonance->getRect();
    frame().mouseDown(editor_tests::mouseAt(rect.right - 4, rect.top + 4));
    process(512);
    tick();
    EXPECT_FLOAT_EQ(plot->columnDecibels(column), base);
    frame().mouseUp(editor_tests::mouseAt(rect.right - 4, rect.top + 4));
    process(512);
    tick();
    EXPECT_FLOAT_EQ(plot->columnDecibels(column), previewed);

    // The type picker's list over the editor.
    const gui::Rect& picker = frame().operatorSelector()->getRect();
    click(picker.left + 100, picker.top + 5);
    ASSERT_TRUE(frame().isModalOpen());
    tick();
    EXPECT_FLOAT_EQ(plot->columnDecibels(column), base);
    frame().closeModal();
    tick();
    EXPECT_FLOAT_EQ(plot->columnDecibels(column), previewed);
    preview(0);
    EXPECT_FLOAT_EQ(plot->columnDecibels(column), base);

    // Each channel on its own: an LFO standing still on a square wave, +1 on the left and -1 on
    // the right, in the knob's place drives the frequency up on the left, down on the right.
    setModulatorType(kLFO);
    setModulator(LFO::kMode, indexToValue(LFO::kHertzMode, 2));
    setModulator(LFO::kRate, 0.0f);
    setModulator(LFO::kWaveform, indexToValue(LFO::kSquare, LFO::kWaveformCount));
    setModulator(LFO::kOffsetRight, 0.8f);
    testing_support::routeSlot(plugin(), 0, ModulationSlots::kSourceModulator1,
                               operatorDestination(0), 1.0f);
    preview(1);
    EXPECT_GT(plot->columnDecibels(column), base + 3.0f);
    preview(2);
    EXPECT_LT(plot->columnDecibels(column), base - 3.0f);
}

TEST_F(ModulationPreview, SurvivesTypeChangesAndSixteenSlotsOnOneDestination) {
    preview(1);
    for (int slot = 0; slot < param::kModulationSlots; ++slot)
        testing_support::routeSlot(plugin(), slot, kKnob1, operatorDestination(0), 1.0f);
    process(4096);
    tick();
    // Clamped at the top of the range: 20 kHz.
    EXPECT_GT(plot->columnDecibels(column), -1.0f);
    for (int type : {kSVF, kGain, kEQ, kFormant, kBiquad}) {
        setOperatorType(type);
        process(1024);
        tick();
    }
    plot = operatorPanel<FilterPanel>().plot();
    for (int k = 0; k < plot->columnCount(); ++k)
        ASSERT_TRUE(std::isfinite(plot->columnDecibels(k)));
}

class ModulationDisplay : public editor_tests::PanelFixture {};

// An LFO drives the filter frequency and Mix: after every frame the controls show what the
// engine's modulated copies are at that moment, and name the slot that drives them.
TEST_F(ModulationDisplay, ControlsFollowAnLfoWithinOneFrame) {
    setModulatorType(kLFO);
    setOperatorType(kBiquad);
    setOperator(0, 0.5f);
    testing_support::routeSlot(plugin(), 0, ModulationSlots::kSourceModulator1,
                               operatorDestination(0), 0.9f);
    testing_support::routeSlot(plugin(), 3, ModulationSlots::kSourceModulator1,
                               ModulationSlots::kDestinationMain + 1, 0.2f);
    tick();
    auto* field = dynamic_cast<editor::CModuleParam*>(frame().operatorPanel()->controlAt(0));
    ASSERT_NE(field, nullptr);
    editor::CMyKnob* mix = frame().mainKnob(1);
    float lowest = 1.0f;
    float highest = 0.0f;
    for (int frameNumber = 0; frameNumber < 12; ++frameNumber) {
        process(2048);
        tick();
        float engineCopy = 0.0f;
        {
            platform::EngineLock lock(plugin().getEngineMutex());
            engineCopy = plugin().getOperator(0)->getModulatedValue(0, 0);
        }
        ASSERT_TRUE(field->getModulation().driven);
        EXPECT_FLOAT_EQ(field->getModulation().left, engineCopy);
        EXPECT_FLOAT_EQ(mix->getModulation().left, plugin().getModulatedLevel(1, 0));
        lowest = std::min(lowest, engineCopy);
        highest = std::max(highest, engineCopy);
    }
    EXPECT_GT(highest - lowest, 0.2f);
    EXPECT_EQ(field->getModulation().drivers, "S1");
    EXPECT_EQ(mix->getModulation().drivers, "S4");
    // A muted slot drives nothing.
    plugin().setParameter(param::kSlotStatus, indexToValue(1, param::kSlotStatusStates));
    tick();
    EXPECT_FALSE(field->getModulation().driven);
}

}  // namespace
