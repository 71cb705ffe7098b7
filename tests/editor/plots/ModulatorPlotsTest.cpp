// The modulator plots against their generators: the LFO's cycle against the LFO itself, the
// ADSR's boxes following the envelope, the ENV's history of a signal and of silence. And the
// step values edited on the STEP plot with the mouse: dragging a bar, linked and separate rows,
// drawing with the control key; every change recorded by the host.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "editor/EditorFixture.h"
#include "editor/panels/ADSRPanel.h"
#include "editor/panels/CSTEPStateParam.h"
#include "editor/panels/ENVPanel.h"
#include "editor/panels/LFOPanel.h"
#include "editor/panels/STEPPanel.h"
#include "editor/plots/CADSRPlot.h"
#include "editor/plots/CENVPlot.h"
#include "editor/plots/CLFOPlot.h"
#include "engine/ParameterIndex.h"
#include "modulators/ADSR.h"
#include "modulators/LFO.h"
#include "modulators/STEP.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"

namespace {

using namespace kirra;
using kirra::editor::CLFOPlot;
using kirra::editor::CSTEPPlot;

struct Shape {
    int waveform;
    float smooth;
    float tilt;
    float offsetLeft;
    float offsetRight;
};

// The LFO's output over its last cycle when one cycle lasts exactly `columns` samples: the
// generator running at a sample rate of `columns` and 1 Hz.
std::vector<float> generatedCycle(const Shape& shape, int columns, int channel) {
    LFO lfo(0, nullptr);
    lfo.setParameter(LFO::kMode, indexToValue(LFO::kHertzMode, 2));
    lfo.setParameter(LFO::kRate, std::sqrt((1.0f - 0.01f) / 29.99f));
    lfo.setParameter(LFO::kWaveform, indexToValue(shape.waveform, LFO::kWaveformCount));
    lfo.setParameter(LFO::kSmooth, shape.smooth);
    lfo.setParameter(LFO::kTilt, shape.tilt);
    lfo.setParameter(LFO::kOffsetLeft, shape.offsetLeft);
    lfo.setParameter(LFO::kOffsetRight, shape.offsetRight);
    lfo.setSampleRate(static_cast<float>(columns));
    std::vector<float> cycle(columns);
    const int cycles = 6;
    for (int sample = 0; sample < cycles * columns; ++sample) {
        if (sample % kControlPeriod == 0) {
            lfo.resetModulation();
            lfo.updateParameters();
        }
        float out[2];
        lfo.generateSample(out[0], out[1]);
        if (sample >= (cycles - 1) * columns) cycle[sample % columns] = out[channel];
    }
    return cycle;
}

TEST(LFOPlot, OneCycleIsWhatTheGeneratorMakes) {
    CLFOPlot plot({0, 0, 204, 80});
    const Shape shapes[] = {
        {LFO::kSine, 0.0f, 0.5f, 0.5f, 0.75f},     {LFO::kSquare, 0.0f, 0.5f, 0.5f, 0.5f},
        {LFO::kTriangle, 0.3f, 0.2f, 0.25f, 0.5f}, {LFO::kSaw, 0.0f, 0.1f, 0.5f, 0.5f},
        {LFO::kSquare, 1.0f, 0.5f, 0.5f, 0.5f},    {LFO::kSaw, 0.6f, 0.8f, 0.1f, 0.9f},
    };
    for (const Shape& shape : shapes) {
        plot.setShape(shape.waveform, shape.smooth, shape.tilt, shape.offsetLeft,
                      shape.offsetRight);
        for (int channel = 0; channel < 2; ++channel) {
            std::vector<float> cycle = generatedCycle(shape, plot.columnCount(), channel);
            for (int column = 0; column < plot.columnCount(); ++column) {
                ASSERT_NEAR(plot.valueAt(channel, column), cycle[column], 0.01f)
                    << "waveform " << shape.waveform << " smooth " << shape.smooth << " channel "
                    << channel << " column " << column;
            }
        }
    }
}

class ModulatorPlots : public editor_tests::PanelFixture {};

TEST_F(ModulatorPlots, TheLFOPhaseMarkerRunsWithTheAudio) {
    setModulatorType(kLFO);
    // 2 Hz: a quarter of a second is half a cycle.
    setModulator(LFO::kMode, indexToValue(LFO::kHertzMode, 2));
    setModulator(LFO::kRate, std::sqrt((2.0f - 0.01f) / 29.99f));
    plugin().suspend();
    tick();
    CLFOPlot& plot = *modulatorPanel<editor::LFOPanel>().plot();
    const int start = plot.phaseColumn();
    process(11025);
    tick();
    EXPECT_NEAR(plot.phaseColumn() - start, plot.columnCount() / 2, 2);
}

TEST_F(ModulatorPlots, TheADSRBoxesFollowTheEnvelopeThroughItsSegments) {
    setModulatorType(kADSR);
    setModulator(ADSR::kMode, indexToValue(ADSR::kAbsoluteMode, 2));
    for (int time : {ADSR::kDelay, ADSR::kAttack, ADSR::kHold, ADSR::kDecay})
        setModulator(time, 0.08f);  // 80 ms each
    plugin().suspend();
    tick();
    editor::CADSRPlot& plot = *modulatorPanel<editor::ADSRPanel>().plot();
    EXPECT_EQ(plot.boxedSection(0), -1);
    EXPECT_EQ(plot.triggerBarLength(0), 0);

    setModulator(ADSR::kTrigger, 1.0f);
    std::vector<int> seen;
    for (int block = 0; block < 30; ++block) {
        process(512);
        tick();
        if (seen.empty() || seen.back() != plot.boxedSection(0))
            seen.push_back(plot.boxedSection(0));
        EXPECT_EQ(plot.boxedSection(1), plot.boxedSection(0));
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(plot.triggerBarLength(0), plot.plotArea().width());

    // Below "trig off" the envelope releases, and the box moves on.
    setModulator(ADSR::kTrigger, 0.0f);
    process(512);
    tick();
    EXPECT_EQ(plot.boxedSection(0), 5);
    EXPECT_EQ(plot.triggerBarLength(0), 0);
}

TEST_F(ModulatorPlots, TheENVHistoryShowsSignalAndStaysEmptyInSilence) {
    setModulatorType(kENV);
    plugin().suspend();
    editor::CENVPlot& plot = *modulatorPanel<editor::ENVPanel>().plot();
    auto drawnPoints = [&plot] {
        int drawn = 0;
        for (int channel = 0; channel < 2; ++channel) {
            for (int age = 0; age < plot.visiblePoints(); ++age)
                drawn += plot.pointAt(channel, age) > 0.001f ? 1 : 0;
        }
        return drawn;
    };
    for (int block = 0; block < 8; ++block) {
        process(4096);
        tick();
    }
    EXPECT_EQ(drawnPoints(), 0);
    EXPECT_EQ(plot.barHeight(0, 0), 0);

    for (int block = 0; block < 8; ++block) {
        process(4096, 0.5f);
        tick();
    }
    // About 30 ms a point: most of the 0.75 s just run is in the history, on both sides.
    EXPECT_GT(drawnPoints(), 2 * 18);
    EXPECT_GT(plot.pointAt(0, 0), 0.1f);
    EXPECT_FLOAT_EQ(plot.pointAt(1, 0), plot.pointAt(0, 0));
    EXPECT_GT(plot.barHeight(0, 1), 0);
}

class STEPPlotEditing : public editor_tests::PanelFixture {
  protected:
    STEPPlotEditing() {
        setModulatorType(kSTEP);
        plot = modulatorPanel<editor::STEPPanel>().plot();
    }
    // The middle of a bar's slot, at the height of a value.
    gui::Point barAt(int position, float value) const {
        gui::Rect slot = plot->barSlot(position);
        return {(slot.left + slot.right) / 2,
                plot->rowOfValue(position / CSTEPPlot::kSteps, value)};
    }
    int stepIndex(int position) const { return param::modulatorParameter(0, position); }

    CSTEPPlot* plot = nullptr;
};

TEST_F(STEPPlotEditing, ALinkedDragWritesTheSameValueToBothRows) {
    ASSERT_TRUE(plot->isLinked());
    gui::Point start = barAt(2, 0.1f);
    frame().mouseDown(editor_tests::mouseAt(start.x, start.y));
    // 150 pixels are the full range.
    frame().mouseMoved(editor_tests::mouseAt(start.x, start.y - 75));
    EXPECT_EQ(plot->getCaption(), "STEP 3: VALUE = 50.0%");
    frame().mouseUp(editor_tests::mouseAt(start.x, start.y - 75));
    EXPECT_TRUE(plot->getCaption().empty());
    EXPECT_NEAR(modulatorValue(STEP::kStepLeft1 + 2), 0.5f, 1e-6f);
    EXPECT_NEAR(modulatorValue(STEP::kStepRight1 + 2), 0.5f, 1e-6f);
    EXPECT_TRUE(automated(stepIndex(STEP::kStepLeft1 + 2)));
    EXPECT_TRUE(automated(stepIndex(STEP::kStepRight1 + 2)));
    // Shift: five times finer.
    drag(start.x, start.y, start.x, start.y - 75, gui::kShift);
    EXPECT_NEAR(modulatorValue(STEP::kStepLeft1 + 2), 0.6f, 1e-5f);
}

TEST_F(STEPPlotEditing, SeparateRowsAreEditedAloneAndLinkingCopiesTheRowClicked) {
    const gui::Rect area = plot->plotArea();
    const int strip = area.left + 3;
    const int lowerHalf = area.bottom - 5;
    click(strip, lowerHalf);
    ASSERT_FALSE(plot->isLinked());
    gui::Point right = barAt(CSTEPPlot::kSteps + 5, 0.0f);
    drag(right.x, right.y, right.x, right.y - 30);
    EXPECT_NEAR(modulatorValue(STEP::kStepRight1 + 5), 0.2f, 1e-6f);
    EXPECT_FLOAT_EQ(modulatorValue(STEP::kStepLeft1 + 5), 0.0f);
    EXPECT_EQ(plot->getCaption(), "");

    // Linking from the lower half keeps the right row and copies it onto the left.
    host->script().automation.clear();
    click(strip, lowerHalf);
    ASSERT_TRUE(plot->isLinked());
    EXPECT_NEAR(modulatorValue(STEP::kStepLeft1 + 5), 0.2f, 1e-6f);
    EXPECT_TRUE(automated(stepIndex(STEP::kStepLeft1 + 5)));
    EXPECT_FALSE(automated(stepIndex(STEP::kStepRight1 + 5)));
}

TEST_F(STEPPlotEditing, DrawingWithTheControlKeySetsEveryBarCrossed) {
    gui::Point from = barAt(1, 0.75f);
    gui::Point to = barAt(6, 0.75f);
    frame().mouseDown(editor_tests::mouseAt(from.x, from.y, gui::kLeftButton, gui::kControl));
    // One jump across several bars: those in between are crossed too.
    frame().mouseMoved(editor_tests::mouseAt(to.x, to.y, gui::kLeftButton, gui::kControl));
    frame().mouseUp(editor_tests::mouseAt(to.x, to.y, gui::kLeftButton, gui::kControl));
    for (int step = 1; step <= 6; ++step) {
        EXPECT_NEAR(modulatorValue(STEP::kStepLeft1 + step), 0.75f, 0.02f) << step;
        EXPECT_NEAR(modulatorValue(STEP::kStepRight1 + step), 0.75f, 0.02f) << step;
    }
    EXPECT_FLOAT_EQ(modulatorValue(STEP::kStepLeft1 + 7), 0.0f);
    EXPECT_FLOAT_EQ(modulatorValue(STEP::kStepLeft1), 0.0f);
}

// The step values and count the host sets are in the panel's golden image.
TEST_F(STEPPlotEditing, TheStateFieldFollowsTheMode) {
    setModulator(STEP::kMode, indexToValue(STEP::kSongPosition, STEP::kModeCount));
    tick();
    EXPECT_EQ(modulatorPanel<editor::STEPPanel>().stateField()->getMode(), STEP::kSongPosition);
}

}  // namespace
