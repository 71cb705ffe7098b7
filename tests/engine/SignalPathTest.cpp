// The signal path measured from outside: delays, levels, coding, bypass, limiter, control timing.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include "engine/ParameterIndex.h"
#include "engine/RoutingMatrix.h"
#include "modules/ModuleCatalogue.h"
#include "support/InProcessHost.h"
#include "support/ProgramRender.h"
#include "support/Signals.h"
#include "support/SlotRouting.h"

using namespace testing_support;
using namespace kirra::param;

namespace {

const float kLimiterOff = stateValue(0, kLimiterStates);

// Output sample i equals input sample i - delay everywhere (zeros before).
void expectDelayed(const std::vector<float>& input, const std::vector<float>& output, int delay,
                   float tolerance = 0.0f) {
    ASSERT_EQ(input.size(), output.size());
    for (size_t i = 0; i < output.size(); ++i) {
        float expected = i >= static_cast<size_t>(delay) ? input[i - delay] : 0.0f;
        ASSERT_NEAR(output[i], expected, tolerance) << "sample " << i;
    }
}

// The flat program without the limiter and the dry delay: what comes out is the operators' sum.
struct UnlimitedSignalPath : ::testing::Test {
    InProcessHost host;
    kirra::Plugin& plugin = host.plugin();
    UnlimitedSignalPath() {
        plugin.setParameter(kOutLimiter, kLimiterOff);
        plugin.setParameter(kDryDelay, 0.0f);
    }
};

}  // namespace

// Power off passes the dry delay only, whatever the levels and modules. (That each operator link
// delays by one sample the other tests here take into account.)
TEST(SignalPath, PowerOffPassesTheDryDelayOnly) {
    InProcessHost host;
    kirra::Plugin& plugin = host.plugin();
    plugin.setParameter(kOutLimiter, kLimiterOff);
    plugin.setParameter(kPower, 0.0f);
    plugin.setParameter(kDryDelay, stateValue(40, kDryDelayStates));  // 10 samples
    plugin.setParameter(kInput, 0.9f);
    plugin.setParameter(kOutput, 0.1f);
    plugin.setParameter(kOperatorType1 + 1, stateValue(kirra::kStereo, 64));
    plugin.suspend();
    auto input = noise(3000, 7, 0.5f);
    Stereo out = host.process(stereo(input));
    expectDelayed(input, out.left, 10);
    expectDelayed(input, out.right, 10);
}

TEST(SignalPath, LimiterHoldsAHotSquareNearFullScaleAfterTheLookAhead) {
    InProcessHost host;  // the flat program limits ("slow")
    const size_t frames = 44100;
    std::vector<float> square(frames);
    for (size_t i = 0; i < frames; ++i)
        square[i] = (i / 50) % 2 == 0 ? 2.5f : -2.5f;
    host.plugin().setParameter(kDryDelay, 0.0f);
    Stereo out = host.process(stereo(square));
    // The look-ahead (128 samples at 44.1 kHz) plus the three operator links.
    for (int i = 0; i < 128 + 3; ++i)
        EXPECT_EQ(out.left[i], 0.0f) << i;
    // The envelopes have seen the peak for a whole look-ahead before it comes out.
    EXPECT_GT(out.left[128 + 3], 0.5f);
    EXPECT_LT(out.left[128 + 3], 1.2f);
    double settledPeak = peak(out.left, frames / 2);
    EXPECT_LT(settledPeak, 1.02);
    EXPECT_GT(settledPeak, 0.95);
    // Square polarity survives: output follows the input of 131 samples before.
    EXPECT_GT(out.left[frames - 1] * square[frames - 1 - 131], 0.0f);
}

// The window's maximum is kept in blocks of one look-ahead: a lone spike must come out limited
// alike wherever it falls in a block.
TEST(SignalPath, LimiterTakesALoneSpikeAlikeAtEveryPlaceInItsWindow) {
    std::vector<double> peaks;
    for (size_t at = 300; at < 300 + 128; ++at) {
        InProcessHost host;
        host.plugin().setParameter(kDryDelay, 0.0f);
        peaks.push_back(peak(host.process(stereo(impulse(at + 200, at, 4.0f))).left));
    }
    EXPECT_LT(peaks[0], 1.1);
    EXPECT_GT(peaks[0], 0.9);
    for (size_t k = 1; k < peaks.size(); ++k)
        ASSERT_DOUBLE_EQ(peaks[k], peaks[0]) << "spike at " << k;
}

TEST(SignalPath, LimiterLookAheadGrowsWithTheSampleRate) {
    for (auto [rate, lookAhead] : {std::pair{48000.0f, 128}, {96000.0f, 256}, {192000.0f, 512}}) {
        InProcessHost host(rate);
        host.plugin().setParameter(kDryDelay, 0.0f);
        Stereo out = host.process(stereo(impulse(2000, 10, 0.5f)));
        EXPECT_EQ(peakIndex(out.left), static_cast<size_t>(10 + 3 + lookAhead)) << rate;
        EXPECT_FLOAT_EQ(out.left[10 + 3 + lookAhead], 0.5f) << rate;
    }
}

TEST_F(UnlimitedSignalPath, ThirtyTwoOneSampleBlocksMakeOneControlUpdate) {
    Stereo ones = stereo(std::vector<float>(96, 1.0f));
    // A gain change waits for the control update at the 32nd sample, then ramps over 32.
    plugin.setParameter(operatorParameter(0, 0), 0.0f);
    Stereo out = host.process(ones, 1);
    for (int i = 3; i < 31 + 3; ++i)
        EXPECT_FLOAT_EQ(out.left[i], 1.0f) << i;
    EXPECT_LT(out.left[31 + 3 + 1], 1.0f);
    EXPECT_NEAR(out.left[31 + 3 + 32], 0.0f, 1e-6f);
}

// A constant pair through a unity gain in slot 1 (wired straight in and out), settled.
TEST(SignalPath, CodingInversionBypassLevelsAndFeedbackOnAConstant) {
    const float mid = 0.8f * 0.70710677f;
    const float side = 0.4f * 0.70710677f;
    const struct {
        const char* what;
        std::vector<std::pair<int, float>> settings;
        float expectedLeft, expectedRight;
    } cases[] = {
        {"mid/side encoded", {{kOpLrMs, stateValue(0x1, kOpLrMsStates)}}, mid, side},
        {"encoded and decoded", {{kOpLrMs, stateValue(0x11, kOpLrMsStates)}}, 0.6f, 0.2f},
        // A bypassed operator passes its coded input, even at zero gain.
        {"bypassed",
         {{kOpLrMs, stateValue(0x1, kOpLrMsStates)},
          {operatorParameter(0, 0), 0.0f},
          {kOperatorBypass1, stateValue(1, 2)}},
         mid,
         side},
        {"OP1 inverted", {{kOpInv, stateValue(0x1, kOpInvStates)}}, -0.6f, -0.2f},
        {"OP2 inverted", {{kOpInv, stateValue(0x2, kOpInvStates)}}, 0.6f, 0.2f},
        // 4 v^2: +12 dB in, a quarter out.
        {"levels", {{kInput, 1.0f}, {kOutput, 0.25f}}, 0.6f, 0.2f},
        // Half mix of a silenced operator leaves half the dry signal.
        {"half mix", {{kMix, 0.5f}, {operatorParameter(0, 0), 0.0f}}, 0.3f, 0.1f},
        // OP1 feeds itself and OP2 feeds it back: unity gains grow until the limit.
        {"feedback",
         {{kOpToOp11, 1.0f}, {kOpToOp11 + 1, 1.0f}, {kOpToOp11 + 4, 1.0f}},
         1000.0f,
         1000.0f},
    };
    const Stereo input(std::vector<float>(5000, 0.6f), std::vector<float>(5000, 0.2f));
    for (const auto& c : cases) {
        auto probe = makeOperatorProbe(kirra::kGain);
        for (auto [index, value] : c.settings)
            probe->plugin().setParameter(index, value);
        probe->plugin().suspend();
        Stereo out = probe->process(input);
        EXPECT_EQ(countBadSamples(out.left) + countBadSamples(out.right), 0u) << c.what;
        EXPECT_LE(peak(out.left), 1000.0) << c.what;
        EXPECT_NEAR(out.left.back(), c.expectedLeft, 1e-5f) << c.what;
        EXPECT_NEAR(out.right.back(), c.expectedRight, 1e-5f) << c.what;
    }
}

// The double-precision entry computes the same samples.
TEST(SignalPath, NonFiniteInputIsForgottenAtOnceThroughEitherEntry) {
    InProcessHost host;
    InProcessHost wide;
    auto input = noise(4000, 7, 0.5f);
    input[100] = NAN;
    input[101] = INFINITY;
    input[102] = -INFINITY;
    Stereo out = host.process(stereo(input));
    EXPECT_EQ(countBadSamples(out.left), 0u);
    EXPECT_GT(rms(out.left, 3000), 0.1);
    Stereo wideOut = wide.processDouble(stereo(input));
    EXPECT_EQ(wideOut.left, out.left);
    EXPECT_EQ(wideOut.right, out.right);
}

TEST_F(UnlimitedSignalPath, UnconnectedRightInputReadsTheLeftAndMissingBuffersAreSilence) {
    host.script().extra = [](int32_t opcode, int32_t index, intptr_t value, void*,
                             intptr_t& answer) {
        if (opcode != vst::audioMasterPinConnected || value != 0 || index != 1) return false;
        answer = 1;  // input 2 not connected
        return true;
    };
    plugin.resume();
    auto input = noise(600, 7, 0.5f);
    Stereo out = host.process(Stereo(input, std::vector<float>(600, 0.0f)));
    expectDelayed(input, out.right, 3, 1e-6f);

    // Null channel pointers from a careless host: nothing crashes, nothing is read.
    plugin.suspend();
    float left[64] = {};
    float* inputs[4] = {nullptr, nullptr, nullptr, nullptr};
    float* outputs[2] = {left, nullptr};
    host.effect()->processReplacing(host.effect(), inputs, outputs, 64);
    for (float sample : left)
        EXPECT_EQ(sample, 0.0f);
}

// One instance whose rate changes while it runs, up and down, with all four modulators at work,
// each driving the next one and an operator.
TEST(SignalPath, EverySampleRateAndBlockSizeStaysClean) {
    InProcessHost host;
    kirra::Plugin& plugin = host.plugin();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        setModulatorType(plugin, slot, kirra::kLFO + slot);
        routeSlot(plugin, slot, slot, 67 + 38 * ((slot + 1) % kSlotCount), 1.0f);
        routeSlot(plugin, 4 + slot, slot, 3 + 16 * slot, 0.0f);
    }
    host.script().playing = true;
    for (float rate : {22050.0f, 8000.0f, 384000.0f, 44100.0f, 192000.0f, 96000.0f}) {
        plugin.setSampleRate(rate);
        auto input = noise(static_cast<size_t>(rate / 4), 3, 2.0f);
        const Stereo side = stereo(sine(300.0, rate, input.size(), 0.7));
        for (int block : {1, 33, 4096}) {
            Stereo out = host.process(stereo(input), block, &side);
            EXPECT_EQ(countBadSamples(out.left) + countBadSamples(out.right), 0u)
                << rate << " " << block;
            EXPECT_LE(peak(out.left, input.size() / 2), 1.05) << rate << " " << block;
        }
    }
}

// Where the routing allows it, the path runs the operators one after the other over each control
// period. Every factory program, with its modulation, codings, inversions, bypasses, feedback and
// silent tail, must come out as sample by sample, in blocks that split the periods anywhere.
TEST(SignalPath, OperatorsRunInTurnGiveTheSamplesOfTheSampleBySamplePath) {
    const Stereo input = demoSignal(44100.0f, 0.5, 0.25);
    for (int bank = 0; bank < 3; ++bank) {
        for (int program = 0; program < 64; ++program) {
            Stereo whole = makeProgramHost(bank, program, 44100.0f)->process(input, 100);
            auto oneByOne = makeProgramHost(bank, program, 44100.0f);
            oneByOne->plugin().allowOperatorsInTurn(false);
            Stereo single = oneByOne->process(input, 100);
            ASSERT_EQ(whole.left.size(), single.left.size());
            const size_t bytes = whole.left.size() * sizeof(float);
            EXPECT_EQ(std::memcmp(whole.left.data(), single.left.data(), bytes), 0)
                << programLabel(bank, program);
            EXPECT_EQ(std::memcmp(whole.right.data(), single.right.data(), bytes), 0)
                << programLabel(bank, program);
        }
    }
}

// An operator that blew up (NaN, infinity) reaches only the operators routed from it: a gain of
// zero is no link, not a multiplication by zero.
TEST(SignalPath, AnOperatorHearsOnlyWhatIsRoutedToIt) {
    using kirra::RoutingMatrix;
    RoutingMatrix routing;
    routing.setBase(RoutingMatrix::kInToOp + 0, 1.0f);
    routing.setBase(RoutingMatrix::kOpToOp + 1, 1.0f);  // OP1 -> OP2
    routing.resetModulation();
    routing.updateRamps();
    routing.snapRamps();
    const float outputs[4] = {0.5f, -0.0f, std::numeric_limits<float>::quiet_NaN(),
                              std::numeric_limits<float>::infinity()};
    float inputs[4];
    routing.operatorInputs(0, 0.25f, outputs, inputs);
    EXPECT_EQ(inputs[0], 0.25f);
    EXPECT_EQ(inputs[1], 0.5f);
    EXPECT_EQ(inputs[2], 0.0f);
    EXPECT_EQ(inputs[3], 0.0f);
}

TEST_F(UnlimitedSignalPath, SettingsChangedWhileSuspendedApplyFromTheFirstSample) {
    plugin.suspend();
    plugin.setParameter(operatorParameter(2, 0), 0.0f);  // silence OP3 while stopped
    plugin.resume();
    plugin.resume();  // a second resume changes nothing
    Stereo out = host.process(stereo(std::vector<float>(256, 1.0f)));
    EXPECT_EQ(peak(out.left), 0.0);
}

// The taps are filled only while a module reads them: one put in a slot while audio runs hears
// the sidechain from its first block.
TEST_F(UnlimitedSignalPath, ATapReaderInstalledWhileRunningHearsTheSidechain) {
    host.process(stereo(noise(1024, 7, 0.5f)));
    plugin.setParameter(kOperatorType1, stateValue(kirra::kSideMix, kirra::kModuleTypeStates));
    plugin.setParameter(operatorParameter(0, 0), 1.0f);  // the sidechain only
    const Stereo sidechain(std::vector<float>(2048, 0.5f), std::vector<float>(2048, -0.25f));
    Stereo out = host.process(stereo(std::vector<float>(2048, 0.0f)), 512, &sidechain);
    EXPECT_NEAR(out.left.back(), 0.5f, 1e-5f);
    EXPECT_NEAR(out.right.back(), -0.25f, 1e-5f);
}
