// Careless settings for every operator with a state: every position at its ends, modulation far
// past them, NaN and out-of-range values straight into the filters, every rate from 8 to 384 kHz
// and rate changes while audio runs. Nothing may crash, reach outside a buffer (the sanitizer build
// watches) or turn finite input into NaN, infinity or subnormals; a blown-up recursion restarts
// from silence, so a bound on the filters' output is what shows it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "engine/ModuleFactory.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleCatalogue.h"
#include "operators/effects/EffectTestSupport.h"
#include "operators/filters/FilterProbe.h"
#include "support/Signals.h"

using namespace testing_support;
using filter_tests::kFilterTypes;
using kirra::param::operatorParameter;

namespace {

const int kEffectTypes[] = {kirra::kLoFi,    kirra::kDelayLine, kirra::kDistortion,
                            kirra::kCompExp, kirra::kReverb2,   kirra::kPitch};
const float kRates[] = {8000.0f,  22050.0f, 32000.0f,  44100.0f,
                        48000.0f, 96000.0f, 192000.0f, 384000.0f};

// Loud noise with a burst of silence in the middle, so decays into silence are seen too.
Stereo harshInput(size_t frames) {
    Stereo input(noise(frames, 11, 4.0f), noise(frames, 12, 4.0f));
    for (size_t i = frames / 3; i < 2 * frames / 3; ++i)
        input.left[i] = input.right[i] = 0.0f;
    return input;
}

// A tone in hiss on the left, noise on the right.
Stereo filterInput(size_t frames) {
    auto tone = sine(1234.5, 44100.0, frames, 0.5);
    auto hiss = noise(frames, 17, 0.5f);
    for (size_t i = 0; i < frames; ++i)
        tone[i] += hiss[i];
    return Stereo(tone, noise(frames, 18));
}

void expectClean(const Stereo& out, double bound, const char* what, int type, float rate,
                 int position = -1) {
    for (const auto* channel : {&out.left, &out.right}) {
        ASSERT_EQ(countBadSamples(*channel), 0u)
            << what << " type " << type << " at " << rate << " position " << position;
        ASSERT_LT(peak(*channel), bound)
            << what << " type " << type << " at " << rate << " position " << position;
    }
}

std::vector<int> everyType() {
    std::vector<int> types(std::begin(kEffectTypes), std::end(kEffectTypes));
    types.insert(types.end(), std::begin(kFilterTypes), std::end(kFilterTypes));
    return types;
}

// Every position at one value, the flipped one (if any) at the other end.
Stereo runWithEveryPositionAt(int type, float rate, float value, int flipped, const Stereo& input) {
    auto op = effects_test::makeOperator(type, rate);
    for (int position = 0; position < kirra::Operator::kPositions; ++position)
        op->setParameter(position, position == flipped ? 1.0f - value : value);
    return effects_test::OperatorRunner(*op).run(input);
}

}  // namespace

// Effects may grow past full scale (drive, makeup); a filter's gain stays within 80 dB.
TEST(OperatorRobustness, PositionsAtAndBeyondTheirEndsAtEveryRate) {
    const Stereo harsh = harshInput(6000);
    const Stereo toneInHiss = filterInput(3000);
    for (int type : everyType()) {
        const bool filter = std::find(std::begin(kFilterTypes), std::end(kFilterTypes), type) !=
                            std::end(kFilterTypes);
        const Stereo& input = filter ? toneInHiss : harsh;
        const double bound = filter ? 1e4 : std::numeric_limits<double>::infinity();
        for (float rate : kRates) {
            expectClean(runWithEveryPositionAt(type, rate, 0.5f, -1, input), bound, "middle", type,
                        rate);
            // Filters also with each position in turn at the other end, where resonance,
            // feedback and the lowest frequencies meet.
            for (float end : {0.0f, 1.0f}) {
                for (int flipped = -1; flipped < (filter ? kirra::Operator::kPositions : 0);
                     ++flipped) {
                    expectClean(runWithEveryPositionAt(type, rate, end, flipped, input), bound,
                                "end", type, rate, flipped);
                }
            }
            // Modulation pushing every position far beyond both ends, alternately. Only
            // cleanliness holds here: a biquad's cutoff thrown across ten octaves every few
            // control periods can ring far past full scale (its output is not bounded).
            auto op = effects_test::makeOperator(type, rate);
            effects_test::OperatorRunner runner(*op);
            int period = 0;
            runner.modulate = [&period](kirra::Operator& module) {
                float amount = (++period / 3) % 2 == 0 ? 50.0f : -50.0f;
                for (int position = 0; position < kirra::Operator::kPositions; ++position) {
                    module.addModulation(position, amount, -amount);
                    module.clampModulation(position);
                }
            };
            expectClean(runner.run(input), std::numeric_limits<double>::infinity(), "modulation",
                        type, rate);
        }
    }
}

// The engine limits what a host sends to 0..1 (a parameter table test); here every position at
// full scale, feedback and long times where the module has them, so that buffers are full when
// a rate change reallocates them.
TEST(OperatorRobustness, RateChangesWhileRunningAtFullScale) {
    const Stereo input = harshInput(2048);
    for (int type : everyType()) {
        auto host = makeOperatorProbe(type);
        kirra::Plugin& plugin = host->plugin();
        for (int position = 0; position < kirra::Operator::kPositions; ++position)
            plugin.setParameter(operatorParameter(0, position), 1.0f);
        host->process(input);
        for (float rate : {384000.0f, 8000.0f, 192000.0f, 22050.0f, 96000.0f, 44100.0f}) {
            plugin.setSampleRate(rate);
            expectClean(host->process(input, 333), std::numeric_limits<double>::infinity(),
                        "after change", type, rate);
        }
    }
}

TEST(OperatorRobustness, FiltersOnTheirOwnTurnNoInputOrValueIntoInfinityOrNaN) {
    // Straight into the operators, past the engine's checks: NaN and out-of-range values as
    // base values, and finite samples large enough to overflow any gain above one.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (int type : kFilterTypes) {
        auto op = kirra::createOperator(type, 0, nullptr);
        for (int position = 0; position < kirra::Operator::kPositions; ++position) {
            op->setParameter(position,
                             position % 3 == 0 ? nan : (position % 3 == 1 ? -2.0f : 9.0f));
        }
        op->setSampleRate(44100.0f);
        float values[kirra::Operator::kPositions];
        for (int position = 0; position < kirra::Operator::kPositions; ++position)
            values[position] = op->getBaseValue(position);
        EXPECT_TRUE(std::isfinite(op->magnitudeAt(values, 1000.0))) << type;
        for (int i = 0; i < 20000; ++i) {
            if (i % kirra::kControlPeriod == 0) op->updateParameters();
            float left = (i % 7 == 0) ? 3e38f : -1e38f * (i % 5);
            float right = i == 100 ? nan : left;
            op->processSample(left, right);
            ASSERT_TRUE(std::isfinite(left) && std::isfinite(right)) << type << " at " << i;
        }
    }
}

// The signal path hands an operator whole runs when nothing between the samples needs its
// output; every operator must give the samples its sample-by-sample calls give, with runs cut
// anywhere in the control period, its settings moving at each update and silence in between.
TEST(OperatorRobustness, ARunGivesTheSamplesOfTheSampleBySampleCalls) {
    const Stereo input = harshInput(24000);
    for (int type = 0; type < kirra::kOperatorTypeCount; ++type) {
        // the defaults at rest, then every position at one value with modulation moving
        for (float value : {-1.0f, 0.3f, 0.8f}) {
            const bool atRest = value < 0.0f;
            auto single = effects_test::makeOperator(type);
            auto runs = effects_test::makeOperator(type);
            for (int position = 0; position < kirra::Operator::kPositions && !atRest; ++position) {
                single->setParameter(position, value);
                runs->setParameter(position, value);
            }
            Stereo bySample = input;
            Stereo byRun = input;
            int cut = 1;
            for (size_t start = 0; start < input.frames(); start += kirra::kControlPeriod) {
                const int period = static_cast<int>(start / kirra::kControlPeriod);
                const int position = period % kirra::Operator::kPositions;
                const float moved = atRest ? 0.0f : 0.05f * static_cast<float>(period % 7);
                for (auto* op : {single.get(), runs.get()}) {
                    op->resetModulation();
                    if (!atRest) {
                        op->addModulation(position, moved, -moved);
                        op->clampModulation(position);
                    }
                    op->updateParameters();
                }
                for (size_t i = start; i < start + kirra::kControlPeriod; ++i)
                    single->processSample(bySample.left[i], bySample.right[i]);
                // two runs, cut at a place that moves from period to period
                cut = cut % (kirra::kControlPeriod - 1) + 1;
                runs->processRun(&byRun.left[start], &byRun.right[start], cut);
                runs->processRun(&byRun.left[start + cut], &byRun.right[start + cut],
                                 kirra::kControlPeriod - cut);
            }
            const size_t bytes = input.frames() * sizeof(float);
            EXPECT_EQ(std::memcmp(bySample.left.data(), byRun.left.data(), bytes), 0)
                << "type " << type << " at " << value;
            EXPECT_EQ(std::memcmp(bySample.right.data(), byRun.right.data(), bytes), 0)
                << "type " << type << " at " << value;
        }
    }
}
