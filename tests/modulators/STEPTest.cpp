// The step sequencer measured in time: step lengths at the tempo, song-position lock (also
// before the song's start), stopping and starting in each mode, shortened rows, smoothing.

#include "modulators/STEP.h"

#include <gtest/gtest.h>

#include <cmath>

#include "modules/ModuleCatalogue.h"
#include "support/ModulatorRunner.h"
#include "support/Signals.h"

using namespace testing_support;
using kirra::STEP;

namespace {

constexpr int kQuarter = 5;    // note value "1/4"
constexpr int kSixteenth = 7;  // "1/16"
const float kStopped = -1.0f;  // modulation that takes "state" to stopped

// A row of steps with distinct values (left) and half of them (right).
ModulatorRunner& sequence(ModulatorRunner& runner, int steps, int grid, int mode) {
    kirra::Modulator& step = runner.module();
    for (int i = 0; i < STEP::kMaxSteps; ++i) {
        step.setParameter(STEP::kStepLeft1 + i, 0.05f * (i + 1));
        step.setParameter(STEP::kStepRight1 + i, 0.025f * (i + 1));
    }
    step.setParameter(STEP::kSteps, stateValue(steps - 1, STEP::kMaxSteps));
    step.setParameter(STEP::kGrid, stateValue(grid, 30));
    step.setParameter(STEP::kMode, stateValue(mode, STEP::kModeCount));
    step.setSampleRate(kRate);
    runner.setTempo(120.0f);
    return runner;
}

float leftValue(int stepIndex) {
    return 0.05f * (stepIndex + 1);
}

}  // namespace

TEST(STEP, FourQuarterStepsAt120BpmLoopEveryTwoSeconds) {
    ModulatorRunner runner = makeModulatorRunner(kirra::kSTEP, kRate);
    Stereo out = sequence(runner, 4, kQuarter, STEP::kRestart).run(5 * 44100 + 11025);
    const size_t stepLength = 22050;  // half a second
    for (size_t step = 0; step < 10; ++step) {
        size_t start = step * stepLength;
        EXPECT_NEAR(out.left[start + 100], leftValue(step % 4), 1e-5f) << step;
        EXPECT_NEAR(out.right[start + 100], leftValue(step % 4) / 2, 1e-5f) << step;
        if (step > 0) {
            EXPECT_NEAR(out.left[start - 100], leftValue((step - 1) % 4), 1e-5f) << step;
        }
    }
    // Cut to two steps while on the third, the row wraps at the next step.
    runner.module().setParameter(STEP::kSteps, stateValue(1, STEP::kMaxSteps));
    EXPECT_NEAR(runner.run(22050).left.back(), leftValue(0), 1e-5f);
}

TEST(STEP, SongPositionPicksTheStepAndPhaseAlsoBeforeTheSongStarts) {
    // q = position / quarter notes per step; step = floor(q) mod steps, phase = q - floor(q).
    for (auto [position, expectedStep] : {std::pair{5.5, 1}, {-0.5, 3}, {-13.25, 2}, {64.0, 0}}) {
        ModulatorRunner runner = makeModulatorRunner(kirra::kSTEP, kRate);
        sequence(runner, 4, kQuarter, STEP::kSongPosition).setSongPosition(position, false);
        Stereo out = runner.run(4096);
        auto& step = static_cast<STEP&>(runner.module());
        EXPECT_EQ(step.getCurrentStep(), expectedStep) << position;
        EXPECT_NEAR(out.left.back(), leftValue(expectedStep), 1e-5f) << position;
    }
    // Half a step in, the next step comes half a step (11025 samples) later.
    ModulatorRunner runner = makeModulatorRunner(kirra::kSTEP, kRate);
    sequence(runner, 4, kQuarter, STEP::kSongPosition).setSongPosition(5.5, true);
    Stereo out = runner.run(30000, 441);
    EXPECT_NEAR(out.left[11025 - 50], leftValue(1), 1e-5f);
    EXPECT_NEAR(out.left[11025 + 50], leftValue(2), 1e-5f);
}

TEST(STEP, StoppingAndStartingByMode) {
    {
        // One pass plays the row once, stays on the last step, and starts over only after a
        // stop; stopped, it shows the last step.
        ModulatorRunner runner = makeModulatorRunner(kirra::kSTEP, kRate);
        Stereo once = sequence(runner, 3, kSixteenth, STEP::kOnePass).run(44100);
        EXPECT_NEAR(once.left[2 * 5512 + 200], leftValue(2), 1e-5f);
        EXPECT_NEAR(once.left.back(), leftValue(2), 1e-5f);
        runner.setModulation(STEP::kState, kStopped, kStopped);
        EXPECT_NEAR(runner.run(4096).left.back(), leftValue(2), 1e-5f);
        runner.clearModulation();
        Stereo again = runner.run(4096);
        EXPECT_NEAR(again.left.back(), leftValue(0), 1e-5f);
    }
    for (int mode : {STEP::kRestart, STEP::kContinue}) {
        ModulatorRunner runner = makeModulatorRunner(kirra::kSTEP, kRate);
        sequence(runner, 8, kSixteenth, mode).run(5512 * 2 + 1000);  // on the third step
        runner.setModulation(STEP::kState, kStopped, kStopped);
        Stereo stopped = runner.run(30000);
        EXPECT_NEAR(stopped.left.back(), leftValue(2), 1e-5f) << "outputs hold";
        runner.clearModulation();
        Stereo resumed = runner.run(1000);
        EXPECT_NEAR(resumed.left.back(), leftValue(mode == STEP::kRestart ? 0 : 2), 1e-5f);
    }
}

TEST(STEP, FullSmoothingGlidesWithAOneHertzCorner) {
    ModulatorRunner runner = makeModulatorRunner(kirra::kSTEP, kRate);
    sequence(runner, 1, kQuarter, STEP::kRestart);
    runner.module().setParameter(STEP::kStepLeft1, 1.0f);
    runner.module().setParameter(STEP::kSmooth, 1.0f);
    runner.module().setSampleRate(kRate);
    Stereo out = runner.run(44100);
    for (size_t n : {1000, 7019, 30000}) {
        EXPECT_NEAR(out.left[n - 1], 1.0 - std::exp(-2.0 * kPi * n / kRate), 1e-4) << n;
    }
}
