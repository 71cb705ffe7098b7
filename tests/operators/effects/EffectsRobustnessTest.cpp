// Careless settings for the time, dynamics and effect operators: every position at its ends,
// modulation far past them, every rate from 8 to 384 kHz and rate changes while audio runs.
// Nothing may crash, reach outside a buffer (the sanitizer build watches) or turn finite input
// into NaN, infinity or subnormals.

#include <gtest/gtest.h>

#include <cmath>

#include "EffectTestSupport.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleCatalogue.h"
#include "support/Signals.h"

using namespace effects_test;
using namespace testing_support;

namespace {

const int kTypes[] = {kirra::kLoFi,    kirra::kDelayLine, kirra::kDistortion,
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

void expectClean(const Stereo& out, const char* what, int type, float rate) {
    EXPECT_EQ(countBadSamples(out.left), 0u) << what << " type " << type << " at " << rate;
    EXPECT_EQ(countBadSamples(out.right), 0u) << what << " type " << type << " at " << rate;
}

}  // namespace

TEST(EffectsRobustness, PositionsAtTheirEndsAtEveryRate) {
    const Stereo input = harshInput(6000);
    for (int type : kTypes) {
        for (float rate : kRates) {
            for (float value : {0.0f, 1.0f, 0.5f}) {
                auto op = makeOperator(type, rate);
                for (int position = 0; position < kirra::Operator::kPositions; ++position)
                    op->setParameter(position, value);
                OperatorRunner runner(*op);
                expectClean(runner.run(input), "value", type, rate);
            }
            // Modulation pushing every position far beyond both ends, alternately.
            auto op = makeOperator(type, rate);
            OperatorRunner runner(*op);
            int period = 0;
            runner.modulate = [&period](kirra::Operator& module) {
                float amount = (++period / 3) % 2 == 0 ? 50.0f : -50.0f;
                for (int position = 0; position < kirra::Operator::kPositions; ++position) {
                    module.addModulation(position, amount, -amount);
                    module.clampModulation(position);
                }
            };
            expectClean(runner.run(input), "modulation", type, rate);
        }
    }
}

TEST(EffectsRobustness, RateChangesWhileAudioRuns) {
    for (int type : kTypes) {
        auto host = makeOperatorProbe(type, 44100.0f);
        kirra::Plugin& plugin = host->plugin();
        // Feedback and long times where the module has them, so buffers are full when they
        // are reallocated.
        for (int position = 0; position < 3; ++position)
            plugin.setParameter(kirra::param::operatorParameter(0, position), 1.0f);
        for (float rate : {384000.0f, 8000.0f, 192000.0f, 22050.0f, 96000.0f, 44100.0f}) {
            Stereo out = host->process(harshInput(3000), 333);
            expectClean(out, "before change", type, rate);
            plugin.setSampleRate(rate);
        }
        Stereo out = host->process(harshInput(3000), 64);
        expectClean(out, "after changes", type, 44100.0f);
    }
}
