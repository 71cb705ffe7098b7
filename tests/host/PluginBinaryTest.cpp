// kirra.so as a DAW sees it: loaded with dlopen, driven only through its entry point and the
// effect record, including the odd things real hosts were seen doing and a validator's rough
// treatment.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "support/HostCommand.h"
#include "support/LoadedPlugin.h"

using testing_support::ChannelArrays;
using testing_support::loadKirra;

namespace {

// Answers like a plug-in scanner: version 2, and from inside a callback it calls back into the
// plug-in for the sample rate and block size.
vst::AEffect* scannedEffect = nullptr;
int nestedCalls = 0;
intptr_t scannerCallback(vst::AEffect* effect, int32_t opcode, int32_t, intptr_t, void*, float) {
    if (opcode == vst::audioMasterVersion) return 2;
    if (effect != nullptr &&
        (opcode == vst::audioMasterWantMidi || opcode == vst::audioMasterCanDo)) {
        ++nestedCalls;
        effect->dispatcher(effect, vst::effSetSampleRate, 0, 0, nullptr, 48000.0f);
        effect->dispatcher(effect, vst::effSetBlockSize, 0, 64, nullptr, 0.0f);
    }
    return 0;
}

intptr_t oldHostCallback(vst::AEffect*, int32_t, int32_t, intptr_t, void*, float) {
    return 0;
}

}  // namespace

TEST(PluginBinary, ExportsOnlyTheTwoEntryPoints) {
    std::istringstream listing(
        testing_support::runShell(std::string("nm -D --defined-only ") + KIRRA_PLUGIN_PATH).output);
    std::vector<std::string> symbols;
    // Only code and data symbols count; the dynamic section also lists the library itself.
    for (std::string kind, word; listing >> word;) {
        if (kind.size() == 1 && std::string("TDBW").find(kind) != std::string::npos)
            symbols.push_back(word);
        kind = word;
    }
    ASSERT_EQ(symbols.size(), 2u);
    EXPECT_NE(std::find(symbols.begin(), symbols.end(), "VSTPluginMain"), symbols.end());
    EXPECT_NE(std::find(symbols.begin(), symbols.end(), "main"), symbols.end());
}

TEST(PluginBinary, DeclaresWhatADawReadsOnScanning) {
    auto plugin = loadKirra();
    const vst::AEffect& effect = *plugin->effect();
    EXPECT_EQ(effect.magic, vst::kEffectMagic);
    EXPECT_EQ(effect.numInputs, 4);
    EXPECT_EQ(effect.numOutputs, 2);
    EXPECT_EQ(effect.numPrograms, 1);
    EXPECT_EQ(effect.numParams, 307);
    EXPECT_EQ(effect.uniqueID, vst::fourCharCode('V', 'n', 'K', 'r'));
    EXPECT_TRUE(effect.flags & vst::kFlagCanReplacing);
    EXPECT_TRUE(effect.flags & vst::kFlagCanDoubleReplacing);
    EXPECT_TRUE(effect.flags & vst::kFlagProgramChunks);
    EXPECT_EQ(plugin->dispatch(vst::effGetVstVersion), 2400);
    EXPECT_EQ(plugin->dispatch(vst::effGetVendorVersion), 0x1000000);
    // One program as the host sees it; the banks are reached through the chunk and the editor.
    plugin->dispatch(vst::effSetProgram, 0, 0);
    EXPECT_EQ(plugin->dispatch(vst::effGetProgram), 0);
    char midi[] = "receiveVstMidiEvent";
    char other[] = "bypass";
    EXPECT_EQ(plugin->dispatch(vst::effCanDo, 0, 0, midi), 1);
    EXPECT_EQ(plugin->dispatch(vst::effCanDo, 0, 0, other), 0);
    // MIDI is claimed only when the host sends it.
    host::HostOptions options;
    options.canSendMidi = false;
    EXPECT_EQ(loadKirra(options)->dispatch(vst::effCanDo, 0, 0, midi), 0);
}

TEST(PluginBinary, RefusesAHostThatKnowsNoVersion) {
    void* library = dlopen(KIRRA_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr);
    auto entry = reinterpret_cast<vst::PluginEntryProc>(dlsym(library, "VSTPluginMain"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry(&oldHostCallback), nullptr);
    EXPECT_EQ(entry(nullptr), nullptr);
    dlclose(library);
}

TEST(PluginBinary, SurvivesAScannerThatCallsBackFromItsCallbacks) {
    void* library = dlopen(KIRRA_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr);
    auto entry = reinterpret_cast<vst::PluginEntryProc>(dlsym(library, "main"));
    ASSERT_NE(entry, nullptr);
    scannedEffect = entry(&scannerCallback);
    ASSERT_NE(scannedEffect, nullptr);
    scannedEffect->dispatcher(scannedEffect, vst::effOpen, 0, 0, nullptr, 0.0f);
    scannedEffect->dispatcher(scannedEffect, vst::effMainsChanged, 0, 1, nullptr, 0.0f);
    char midi[] = "receiveVstMidiEvent";
    scannedEffect->dispatcher(scannedEffect, vst::effCanDo, 0, 0, midi, 0.0f);
    EXPECT_GE(nestedCalls, 1);
    // A host without time information: processing still works.
    ChannelArrays block(256);
    block.sineOnMain();
    scannedEffect->processReplacing(scannedEffect, block.inputs, block.outputs, 256);
    scannedEffect->dispatcher(scannedEffect, vst::effClose, 0, 0, nullptr, 0.0f);
    dlclose(library);
}

TEST(PluginBinary, ToleratesWhatDawsDo) {
    auto plugin = loadKirra();
    plugin->resume();
    plugin->resume();  // twice in a row
    ChannelArrays block(8192);
    block.sineOnMain();
    plugin->process(block.inputs, block.outputs, 512);
    plugin->suspend();
    plugin->setBlockSize(8192);  // changed while suspended
    plugin->resume();
    plugin->process(block.inputs, block.outputs, 8192);
    // More samples than announced, blocks of 0 and 1, and silence on the sidechain inputs.
    plugin->setBlockSize(64);
    plugin->process(block.inputs, block.outputs, 4096);
    plugin->process(block.inputs, block.outputs, 0);
    plugin->process(block.inputs, block.outputs, 1);
    for (float sample : block.out[0])
        ASSERT_TRUE(std::isfinite(sample));
    // Null arrays and out-of-range indices are ignored.
    plugin->effect()->processReplacing(plugin->effect(), nullptr, nullptr, 64);
    plugin->setParameter(-1, 0.5f);
    plugin->setParameter(307, 0.5f);
    plugin->setParameter(100000, 0.5f);
    EXPECT_EQ(plugin->getParameter(-5), 0.0f);
    EXPECT_EQ(plugin->getParameter(307), 0.0f);
    EXPECT_EQ(plugin->dispatch(vst::effGetParamName, 5000, 0, nullptr), 0);
    EXPECT_EQ(plugin->dispatch(vst::effEditGetRect, 0, 0, nullptr), 0);
    EXPECT_EQ(plugin->dispatch(12345), 0);
}

// Instances come and go through the binary as a DAW opens and closes projects.
TEST(PluginBinary, OpenCloseManyInstances) {
    for (int round = 0; round < 20; ++round) {
        auto first = loadKirra();
        auto second = loadKirra();
        first->resume();
        second->resume();
        ChannelArrays block(64);
        block.sineOnMain();
        first->process(block.inputs, block.outputs, 64);
        second->process(block.inputs, block.outputs, 64);
    }
}

// Random automation of every host parameter (module types included) between blocks of random
// size at every common sample rate, with noise in; the output must stay finite, free of
// denormals and bounded by the limiter.
TEST(ParameterStorm, RandomAutomationNeverBreaksTheOutput) {
    auto plugin = loadKirra();
    std::mt19937 random(2026);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    std::uniform_int_distribution<int> parameter(0, plugin->numParameters() - 1);
    std::uniform_int_distribution<int> blockSize(1, 2048);
    ChannelArrays buffers(2048);
    for (double rate : {8000.0, 44100.0, 96000.0, 384000.0}) {
        plugin->suspend();
        plugin->setSampleRate(rate);
        plugin->resume();
        for (int block = 0; block < 300; ++block) {
            for (int change = 0; change < 6; ++change)
                plugin->setParameter(parameter(random), unit(random));
            // Occasionally a careless host sends values outside the range.
            if (block % 50 == 0)
                plugin->setParameter(parameter(random), block % 100 == 0 ? NAN : 7.5f);
            int frames = blockSize(random);
            for (auto& channel : buffers.in) {
                for (int i = 0; i < frames; ++i)
                    channel[i] = noise(random);
            }
            plugin->process(buffers.inputs, buffers.outputs, frames);
            for (int channel = 0; channel < 2; ++channel) {
                for (int i = 0; i < frames; ++i) {
                    float sample = buffers.out[channel][i];
                    ASSERT_TRUE(std::isfinite(sample)) << rate << " block " << block;
                    ASSERT_NE(std::fpclassify(sample), FP_SUBNORMAL) << rate << " block " << block;
                    // The look-ahead lets the envelopes reach most of a sudden peak.
                    ASSERT_LE(std::fabs(sample), 2.0f) << rate << " block " << block;
                }
            }
        }
    }
}
