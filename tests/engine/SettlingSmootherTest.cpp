// Smoothing that stops stepping once settled must still follow every later change.

#include <gtest/gtest.h>

#include <cmath>

#include "engine/SettlingSmoother.h"

TEST(SettlingSmoother, FollowsTheOnePoleCurveAgainOnceSettled) {
    const float coefficient = 0.01f;
    kirra::SettlingSmoother<2, true> smoother{{0.0f, 0.25f}};
    smoother.setTarget(0, 1.0f);
    for (int sample = 0; sample < 20000; ++sample)
        smoother.step(coefficient);
    EXPECT_NEAR(smoother.value(0), 1.0f, 1e-5f);  // where a step rounds away
    EXPECT_EQ(smoother.value(1), 0.25f);

    // Settled: a new target, once noticed, decays as (1 - c)^n, and the untouched value stays.
    smoother.setTarget(0, 0.0f);
    smoother.step(coefficient);
    EXPECT_NEAR(smoother.value(0), 1.0f, 1e-5f);  // not looked for yet
    smoother.noticeTargets();
    for (int sample = 0; sample < 300; ++sample)
        smoother.step(coefficient);
    EXPECT_NEAR(smoother.value(0), std::pow(1.0 - coefficient, 300), 1e-4);
    EXPECT_EQ(smoother.value(1), 0.25f);
}

TEST(SettlingSmoother, ANewCoefficientMovesAValueTheOldOneLeftShortOfItsTarget) {
    const float target = 1.0f + std::ldexp(1.0f, -20);
    kirra::SettlingSmoother<1, false> smoother{{1.0f}};
    smoother.setTarget(0, target);
    // A step below half a unit in the last place leaves the value where it is.
    for (int sample = 0; sample < 10; ++sample)
        smoother.step(1e-3f);
    EXPECT_EQ(smoother.value(0), 1.0f);
    smoother.step(1.0f);
    EXPECT_EQ(smoother.value(0), target);
}
