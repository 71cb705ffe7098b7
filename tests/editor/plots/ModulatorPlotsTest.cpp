// The modulator plots against their generators: the LFO's cycle against the LFO itself, the
// ADSR's boxes following the envelope, the ENV's history of a signal and of silence.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "editor/EditorFixture.h"
#include "editor/panels/ADSRPanel.h"
#include "editor/panels/ENVPanel.h"
#include "editor/panels/LFOPanel.h"
#include "editor/plots/CADSRPlot.h"
#include "editor/plots/CENVPlot.h"
#include "editor/plots/CLFOPlot.h"
#include "modulators/ADSR.h"
#include "modulators/LFO.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"

namespace {

using namespace kirra;
using kirra::editor::CLFOPlot;

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

}  // namespace
