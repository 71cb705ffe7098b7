// The envelope generator measured against its one-pole segments: trigger thresholds, segment
// lengths in samples and in note values, release and retrigger.

#include "modulators/ADSR.h"

#include <gtest/gtest.h>

#include <cmath>

#include "modules/ModuleCatalogue.h"
#include "support/ModulatorRunner.h"
#include "support/Signals.h"

using namespace testing_support;
using kirra::ADSR;

namespace {

// The first control update runs at frame 31 and sees the trigger; the idle envelope starts its
// delay at frame 32, which lasts one sample when the delay is zero: frame 33 is the first sample
// of the attack.
constexpr size_t kFirstAttackFrame = 33;

// Absolute times that are exact in binary: attack 2^-7 s, decay 2^-6 s, release 10 * 2^-8 s.
// Segment lengths truncate rate * time; time constants use it unrounded.
constexpr float kAttack = 0.0078125f;
constexpr float kDecay = 0.015625f;
constexpr float kRelease = 0.00390625f;
constexpr double kAttackSamples = 44100.0 * kAttack;  // 344.53
constexpr double kDecaySamples = 44100.0 * kDecay;
constexpr double kReleaseSamples = 441000.0 * kRelease;
constexpr size_t kAttackLength = 344;

ModulatorRunner& absoluteEnvelope(ModulatorRunner& runner) {
    kirra::Modulator& adsr = runner.module();
    adsr.setParameter(ADSR::kMode, stateValue(ADSR::kAbsoluteMode, ADSR::kModeCount));
    adsr.setParameter(ADSR::kDelay, 0.0f);
    adsr.setParameter(ADSR::kAttack, kAttack);
    adsr.setParameter(ADSR::kHold, 0.0f);
    adsr.setParameter(ADSR::kDecay, kDecay);
    adsr.setParameter(ADSR::kRelease, kRelease);
    return runner;
}

double attackCurve(size_t samples) {
    return 1.0 - std::exp(-static_cast<double>(samples) / kAttackSamples);
}

}  // namespace

TEST(ADSR, HeldTriggerRunsAttackDecayIntoSustain) {
    ModulatorRunner runner = makeModulatorRunner(kirra::kADSR, kRate);
    absoluteEnvelope(runner).setModulation(ADSR::kTrigger, 1.0f, 1.0f);
    Stereo out = runner.run(44100);
    EXPECT_EQ(out.left[kFirstAttackFrame - 1], 0.0f);
    for (size_t k : {size_t(1), size_t(100), kAttackLength}) {
        EXPECT_NEAR(out.left[kFirstAttackFrame - 1 + k], attackCurve(k), 1e-4) << k;
    }
    // The hold of zero length takes one sample on the attack curve, then the decay heads for
    // the sustain level 0.25 with a time constant of its length.
    const size_t holdFrame = kFirstAttackFrame + kAttackLength;
    const double top = out.left[holdFrame];
    EXPECT_NEAR(top, attackCurve(kAttackLength + 1), 1e-4);
    EXPECT_EQ(peakIndex(out.left), holdFrame);
    EXPECT_NEAR(out.left[holdFrame + 689], 0.25 + (top - 0.25) * std::exp(-689 / kDecaySamples),
                1e-4);
    EXPECT_NEAR(out.left[44099], 0.25f, 1e-5f);
    EXPECT_EQ(out.left, out.right);
}

TEST(ADSR, TriggerDroppingDuringTheAttackReleasesFromTheLevelReached) {
    ModulatorRunner runner = makeModulatorRunner(kirra::kADSR, kRate);
    absoluteEnvelope(runner).setModulation(ADSR::kTrigger, 1.0f, 1.0f);
    Stereo rising = runner.run(31 + 4 * 32);  // the trigger falls at the next update
    runner.clearModulation();
    Stereo falling = runner.run(10000);
    const double reached = rising.left.back();
    EXPECT_NEAR(reached, attackCurve(rising.frames() - kFirstAttackFrame), 1e-4);
    for (size_t m : {1, 1000, 2000}) {
        EXPECT_NEAR(falling.left[m - 1], reached * std::exp(-(m / kReleaseSamples)), 1e-4) << m;
    }
}

TEST(ADSR, TriggerDuringTheReleaseRestartsWithoutDroppingTheLevel) {
    ModulatorRunner runner = makeModulatorRunner(kirra::kADSR, kRate);
    absoluteEnvelope(runner).setModulation(ADSR::kTrigger, 1.0f, 1.0f);
    runner.run(31 + 100 * 32);  // settled on the sustain level
    runner.clearModulation();
    Stereo releasing = runner.run(20 * 32);
    runner.setModulation(ADSR::kTrigger, 1.0f, 1.0f);
    Stereo again = runner.run(1000);
    const float released = releasing.left.back();
    EXPECT_LT(released, 0.25f * 0.8f);
    EXPECT_GT(released, 0.0f);
    // Delay (one sample, still falling), then the attack rises from where the release was.
    EXPECT_NEAR(again.left[0], released * std::exp(-1.0 / kReleaseSamples), 1e-5);
    EXPECT_GT(again.left[2], again.left[1]);
    EXPECT_GT(again.left[1], 0.9f * released);
    EXPECT_GT(peak(again.left), 0.5);
}

// Only the left channel is triggered: the right one stays silent beside it.
TEST(ADSR, TempoAttackOfAQuarterNoteAt120BpmLasts22050Samples) {
    ModulatorRunner runner = makeModulatorRunner(kirra::kADSR, kRate);  // tempo mode, "1/4"
    runner.setTempo(120.0f);
    runner.setModulation(ADSR::kTrigger, 1.0f, 0.0f);
    Stereo out = runner.run(60000);
    // The attack ends after 22050 samples at 63 % and its curve runs one more sample in the
    // hold of zero length; the decay falls from there.
    EXPECT_EQ(peakIndex(out.left), kFirstAttackFrame + 22050);
    EXPECT_NEAR(out.left[kFirstAttackFrame + 22049], 1.0 - std::exp(-1.0), 1e-4);
    EXPECT_EQ(peak(out.right), 0.0);
    auto& adsr = static_cast<ADSR&>(runner.module());
    EXPECT_EQ(adsr.getState(0), ADSR::kSustainState);
    EXPECT_EQ(adsr.getState(1), ADSR::kIdleState);
    EXPECT_FLOAT_EQ(adsr.getTriggerLevel(0), 1.0f);
}

TEST(ADSR, LongestAbsoluteReleaseHasATenSecondTimeConstant) {
    const float rate = 8000.0f;
    ModulatorRunner runner = makeModulatorRunner(kirra::kADSR, rate);
    absoluteEnvelope(runner).module().setParameter(ADSR::kRelease, 1.0f);
    runner.module().setSampleRate(rate);
    runner.setModulation(ADSR::kTrigger, 1.0f, 1.0f);
    Stereo held = runner.run(31 + 200 * 32);
    runner.clearModulation();
    Stereo released = runner.run(80000);
    EXPECT_NEAR(released.left[79999], held.left.back() * std::exp(-1.0), 1e-4);
}
