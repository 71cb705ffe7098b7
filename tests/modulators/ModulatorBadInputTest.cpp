// Every modulator at the ends of every parameter, at every sample rate, with extreme tempi,
// song positions and side signals: outputs stay finite and inside their range. (All four in a
// plug-in whose rate changes while audio runs are a signal path test.)

#include <gtest/gtest.h>

#include "modules/ModuleCatalogue.h"
#include "support/ModulatorRunner.h"
#include "support/Signals.h"

using namespace testing_support;

namespace {

const float kSampleRates[] = {8000.0f, 11025.0f, 44100.0f, 96000.0f, 192000.0f, 384000.0f};

void expectInRange(const std::vector<float>& channel, int type, const char* what) {
    EXPECT_EQ(countBadSamples(channel), 0u) << what;
    for (float value : channel) {
        ASSERT_GE(value, type == kirra::kLFO ? -1.0f : 0.0f) << what;  // only the LFO is bipolar
        ASSERT_LE(value, 1.0f) << what;
    }
}

}  // namespace

TEST(ModulatorBadInput, EveryParameterAtBothEndsAtEveryRate) {
    Stereo loud = stereo(noise(4096, 9, 1000.0f));
    for (int type = kirra::kLFO; type <= kirra::kSTEP; ++type) {
        for (float rate : kSampleRates) {
            for (float value : {0.0f, 1.0f}) {
                for (float tempo : {30.0f, 300.0f}) {
                    ModulatorRunner runner = makeModulatorRunner(type, rate);
                    kirra::Modulator& module = runner.module();
                    for (int position = 0; position < kirra::Modulator::kPositions; ++position) {
                        module.setParameter(position, value);
                        // Whatever the slots add is clamped onto the same end.
                        if (module.isParameterUsed(position)) {
                            float push = value > 0.5f ? 2.0f : -2.0f;
                            runner.setModulation(position, push, push);
                        }
                    }
                    module.setSampleRate(rate);
                    runner.setTempo(tempo);
                    runner.setTapSignal(static_cast<int>(value * 6.0f), &loud);
                    runner.setSongPosition(value > 0.5f ? 1e9 : -7.3);
                    Stereo out = runner.run(4096, 100);
                    std::string what = std::to_string(type) + " at " + std::to_string(rate) +
                                       " Hz, value " + std::to_string(value) + ", " +
                                       std::to_string(tempo) + " BPM";
                    expectInRange(out.left, type, what.c_str());
                    expectInRange(out.right, type, what.c_str());
                }
            }
        }
    }
}
