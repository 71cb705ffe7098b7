// The delay both formats report is the delay the sound has: an impulse on the dry path comes out
// exactly that late for every limiter mode, dry delay and rate; VST hosts hear of a change
// through ioChanged, never from the audio thread.

#include <gtest/gtest.h>

#include "engine/ParameterIndex.h"
#include "lv2/LilvHost.h"
#include "modules/ModuleMath.h"
#include "support/Signals.h"

using namespace testing_support;
namespace param = kirra::param;

namespace {

void resume(InProcessHost& host) {
    host.effect()->dispatcher(host.effect(), vst::effMainsChanged, 0, 0, nullptr, 0.0f);
    host.effect()->dispatcher(host.effect(), vst::effMainsChanged, 0, 1, nullptr, 0.0f);
}

}  // namespace

TEST(DelayReport, AnImpulseLeavesAtTheReportedDelayInBothFormats) {
    const Stereo impulseIn = stereo(impulse(34000, 0, 0.5f));
    // The start-up program: the serial chain's wet path lines up with its dry delay.
    InProcessHost startup;
    EXPECT_EQ(peakIndex(startup.process(impulseIn, 512).left),
              static_cast<size_t>(startup.effect()->initialDelay));
    for (float rate : {44100.0f, 96000.0f, 192000.0f}) {
        for (int mode : {0, 1, 2, 3, param::kLimiterStates - 1}) {
            for (int dryState : {0, 401, param::kDryDelayStates - 1}) {
                const float limiter = kirra::indexToValue(mode, param::kLimiterStates);
                const float dryDelay = kirra::indexToValue(dryState, param::kDryDelayStates);
                InProcessHost vst(rate);
                LilvHost lv2(rate);
                for (kirra::Plugin* engine : {&vst.plugin(), &lv2.engine()}) {
                    engine->setParameter(param::kMix, 0.0f);
                    engine->setParameter(param::kOutLimiter, limiter);
                }
                vst.plugin().setParameter(param::kDryDelay, dryDelay);
                lv2.control("drydly") = dryDelay;
                resume(vst);
                SCOPED_TRACE(::testing::Message()
                             << rate << " Hz, mode " << mode << ", state " << dryState);
                EXPECT_EQ(peakIndex(vst.process(impulseIn, 4096).left),
                          static_cast<size_t>(vst.effect()->initialDelay));
                // The latency port is written by the run: read it after.
                const Stereo lv2Out = lv2.process(impulseIn, 4096);
                EXPECT_EQ(peakIndex(lv2Out.left), static_cast<size_t>(lv2.latency()));
            }
        }
    }
}

TEST(DelayReport, VstHostsHearOfAChangeOutsideTheAudioThread) {
    InProcessHost host;
    int ioChanged = 0;
    intptr_t processLevel = vst::kProcessLevelRealtime;
    host.script().extra = [&](int32_t opcode, int32_t, intptr_t, void*, intptr_t& answer) {
        if (opcode == vst::audioMasterIOChanged) ++ioChanged;
        answer = opcode == vst::audioMasterGetCurrentProcessLevel ? processLevel : 1;
        return opcode == vst::audioMasterIOChanged ||
               opcode == vst::audioMasterGetCurrentProcessLevel;
    };
    kirra::Plugin& plugin = host.plugin();
    const int32_t startDelay = host.effect()->initialDelay;
    // Automation on the audio thread: told at the editor's next idle.
    host.setHostParameter(param::kDryDelay, kirra::indexToValue(400, param::kDryDelayStates));
    EXPECT_EQ(ioChanged, 0);
    EXPECT_EQ(host.effect()->initialDelay, startDelay);
    host.effect()->dispatcher(host.effect(), vst::effEditIdle, 0, 0, nullptr, 0.0f);
    EXPECT_EQ(ioChanged, 1);
    EXPECT_NE(host.effect()->initialDelay, startDelay);
    EXPECT_EQ(host.effect()->initialDelay, plugin.getLatencySamples());
    // From the host's user thread: at once, and only for a real change.
    processLevel = vst::kProcessLevelUser;
    host.setHostParameter(param::kDryDelay, kirra::indexToValue(0, param::kDryDelayStates));
    EXPECT_EQ(ioChanged, 2);
    host.setHostParameter(param::kDryDelay, kirra::indexToValue(1, param::kDryDelayStates));
    EXPECT_EQ(ioChanged, 2);
    // A program that turns the limiter off, and a new rate, whose look-ahead is reported at
    // resume.
    plugin.getPrograms().current().values[param::kOutLimiter] = 0.0f;
    plugin.selectProgram(plugin.getPrograms().getCurrentPreset());
    EXPECT_EQ(ioChanged, 3);
    EXPECT_EQ(host.effect()->initialDelay, plugin.getLatencySamples());
    plugin.setParameter(param::kOutLimiter, kirra::indexToValue(1, param::kLimiterStates));
    plugin.suspend();
    plugin.setSampleRate(96000.0f);
    resume(host);
    EXPECT_EQ(ioChanged, 5);
    EXPECT_EQ(host.effect()->initialDelay, plugin.getLatencySamples());
}
