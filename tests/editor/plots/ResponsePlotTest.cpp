// The filter plots against the sound: a filter operator in slot 1 with a setting that shapes its
// response, the plot read from its panel, and sines through the plug-in measured at the
// frequencies of a set of columns. Each filter's own plot is measured against its sound in the
// operator tests; here the morph of two complex responses and the equalizer, whose gains sit
// past the first seven positions, show that the panel hands the plot every value.

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <vector>

#include "editor/EditorFixture.h"
#include "editor/panels/FilterPanel.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"
#include "support/Signals.h"

namespace {

using namespace kirra;
using kirra::editor::CResponsePlot;
using kirra::editor::FilterPanel;

struct Setting {
    int position;
    float value;
};

struct FilterCase {
    const char* name;
    int type;
    std::vector<Setting> settings;
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
        for (const Setting& setting : filter.settings)
            setOperator(setting.position, setting.value);
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
    setOperatorType(kBiquad);
    tick();
    CResponsePlot* plot = operatorPanel<FilterPanel>().plot();
    // The notch right on a column's frequency: the knob value of column i is i / N.
    const int column = plot->columnCount() / 2;
    setOperator(0, static_cast<float>(column) / plot->columnCount());
    setOperator(1, 1.0f);
    setOperator(2, indexToValue(2, 4));
    tick();
    EXPECT_LT(plot->columnDecibels(column), -90.0f);
    EXPECT_EQ(plot->columnY(column), plot->plotArea().bottom - 1);
    EXPECT_GT(plot->columnDecibels(column / 2), -1.0f);
}

TEST_F(ResponsePlotEdges, FollowsTheSampleRate) {
    // A fixed frequency is a different share of the sample rate: the curve must move with it.
    setOperatorType(kMoog);
    setOperator(0, hertz(5000));
    tick();
    CResponsePlot* plot = operatorPanel<FilterPanel>().plot();
    const int column = plot->columnCount() * 9 / 10;
    const float at44k = plot->columnDecibels(column);
    plugin().setSampleRate(96000.0f);
    tick();
    const float at96k = plot->columnDecibels(column);
    EXPECT_GT(std::fabs(at96k - at44k), 1.0f);
    EXPECT_NEAR(measuredDb(plot->columnFrequencyHz(column)), at96k, 0.5);
}

}  // namespace
