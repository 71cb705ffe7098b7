// The engine with other threads working against the audio thread: saved states are always one
// whole state, values set during loads land only in the program the user is on, the audio thread
// allocates nothing while modules and programs change under it (also through undo), and a module
// type set from the audio thread itself is built elsewhere and heard a few blocks later.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "engine/EditHistory.h"
#include "engine/ParameterIndex.h"
#include "engine/ProgramStore.h"
#include "modules/ModuleCatalogue.h"
#include "platform/EngineMutex.h"
#include "support/AllocationCounter.h"
#include "support/InProcessHost.h"
#include "support/ProgramRender.h"
#include "support/Signals.h"
#include "vst/VstApi.h"

using namespace testing_support;
using namespace kirra::param;

namespace {

// Runs blocks of 64 on a thread of its own until stopped, counting the allocations made in them
// if asked, and the output samples that are not finite or run away.
class AudioThread {
  public:
    explicit AudioThread(InProcessHost& host, bool countAllocations = false)
        : thread_([this, &host, countAllocations] { run(host, countAllocations); }) {}
    ~AudioThread() { stop(); }
    void stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    size_t allocations() const { return allocations_; }
    size_t blocks() const { return blocks_; }
    size_t badSamples() const { return badSamples_; }

  private:
    void run(InProcessHost& host, bool countAllocations) {
        std::vector<float> buffers[6];
        for (auto& buffer : buffers)
            buffer.assign(64, 0.1f);
        float* inputs[4] = {buffers[0].data(), buffers[1].data(), buffers[2].data(),
                            buffers[3].data()};
        float* outputs[2] = {buffers[4].data(), buffers[5].data()};
        while (!stop_) {
            if (countAllocations) {
                AllocationCounter counter;
                host.effect()->processReplacing(host.effect(), inputs, outputs, 64);
                allocations_ += counter.count();
            } else {
                host.effect()->processReplacing(host.effect(), inputs, outputs, 64);
            }
            ++blocks_;
            for (const float* output : outputs) {
                badSamples_ += static_cast<size_t>(std::count_if(
                    output, output + 64, [](float x) { return !(std::fabs(x) <= 2.0f); }));
            }
        }
    }

    std::atomic<bool> stop_{false};
    std::atomic<size_t> allocations_{0};
    std::atomic<size_t> blocks_{0};
    std::atomic<size_t> badSamples_{0};
    std::thread thread_;
};

// Loads enough that a save or a store meeting one half done would show; ThreadSanitizer reports
// such a meeting the first time it happens, and each of its loads costs a hundred plain ones.
#if defined(__SANITIZE_THREAD__)
constexpr int kLoads = 200;
#else
constexpr int kLoads = 2000;
#endif

void loadState(kirra::Plugin& plugin, std::vector<uint8_t>& state) {
    ASSERT_EQ(plugin.setChunk(state.data(), static_cast<int32_t>(state.size()), false), 0);
}

}  // namespace

TEST(EngineThreads, SavedStatesAreWholeWhileAnotherThreadLoadsAndAudioRuns) {
    auto host = makeProgramHost(0, 0, 48000.0f);
    kirra::Plugin& plugin = host->plugin();
    // Two states that differ in the current program's values and name, and in another bank.
    std::vector<uint8_t> first = chunkOf(plugin);
    plugin.setParameter(kMix, 0.25f);
    plugin.setProgramName("other");
    plugin.getPrograms().program(2, 5).values[kInput] = 0.75f;
    std::vector<uint8_t> second = chunkOf(plugin);
    ASSERT_NE(first, second);

    AudioThread audio(*host);
    std::atomic<bool> loading{true};
    std::thread loader([&] {
        for (int round = 0; round < kLoads; ++round) {
            loadState(plugin, round % 2 == 0 ? first : second);
        }
        loading = false;
    });
    // Two savers: each one's buffer stays as it was handed out while the other saves.
    std::atomic<int> mixtures{0};
    auto save = [&] {
        while (loading) {
            void* data = nullptr;
            const int32_t size = plugin.getChunk(&data, false);
            std::vector<uint8_t> copy(static_cast<uint8_t*>(data),
                                      static_cast<uint8_t*>(data) + size);
            if (copy != first && copy != second) ++mixtures;
            std::this_thread::yield();
            if (std::memcmp(data, copy.data(), copy.size()) != 0) ++mixtures;
        }
    };
    std::thread otherSaver(save);
    save();
    loader.join();
    otherSaver.join();
    audio.stop();
    EXPECT_EQ(mixtures, 0);
    EXPECT_GT(audio.blocks(), 0u);
}

// A value set while another thread loads states lands in the program current at that moment or
// in the one loaded after it, never in a program the user is not on, and the engine holds what
// the current program holds.
TEST(EngineThreads, ValuesSetDuringLoadsLandInTheCurrentProgramOnly) {
    auto host = makeProgramHost(0, 0, 48000.0f);
    kirra::Plugin& plugin = host->plugin();
    kirra::ProgramStore& programs = plugin.getPrograms();
    std::vector<uint8_t> first = chunkOf(plugin);
    plugin.selectProgram(1);
    std::vector<uint8_t> second = chunkOf(plugin);
    constexpr float kMarked = 0.123456f;

    AudioThread audio(*host);
    std::atomic<bool> loading{true};
    std::thread automation([&] {
        while (loading)
            plugin.setParameter(kMix, kMarked);
    });
    int strays = 0;
    int unheld = 0;
    int heldTheMark = 0;  // shows that the stores met the loads at all
    for (int round = 0; round < kLoads / 2; ++round) {
        loadState(plugin, round % 2 == 0 ? first : second);
        platform::EngineLock lock(plugin.getEngineMutex());
        for (int bank = 0; bank < kirra::ProgramStore::kBanks; ++bank) {
            for (int preset = 0; preset < kirra::ProgramStore::kPrograms; ++preset) {
                const bool current =
                    bank == programs.getCurrentBank() && preset == programs.getCurrentPreset();
                strays += !current && programs.program(bank, preset).values[kMix] == kMarked;
            }
        }
        if (plugin.getParameter(kMix) != programs.current().values[kMix]) ++unheld;
        if (programs.current().values[kMix] == kMarked) ++heldTheMark;
    }
    loading = false;
    automation.join();
    EXPECT_EQ(strays, 0);
    EXPECT_EQ(unheld, 0);
    EXPECT_GT(heldTheMark, 0);
}

// Types changed by the host and by the editor's undo and redo, programs selected.
TEST(EngineThreads, AudioThreadAllocatesNothingWhileTypesProgramsAndUndoChange) {
    auto host = makeProgramHost(2, 0, 48000.0f);
    kirra::Plugin& plugin = host->plugin();
    kirra::EditHistory& history = plugin.getEditHistory();
    AudioThread audio(*host, true);
    for (int round = 0; round < 60; ++round) {
        {
            kirra::EditHistory::Gesture edit(history);
            plugin.setParameter(
                kOperatorType1 + round % 4,
                stateValue(round % kirra::kOperatorTypeCount, kirra::kModuleTypeStates));
            plugin.setParameter(operatorParameter(round % 4, 0), (round % 7) / 7.0f);
        }
        history.undo();
        if (round % 3 == 0) history.redo();
        plugin.setParameter(
            kModulatorType1 + round % 4,
            stateValue(round % kirra::kModulatorTypeCount, kirra::kModuleTypeStates));
        plugin.selectProgram((round * 5) % kirra::ProgramStore::kPrograms);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    audio.stop();
    EXPECT_GT(audio.blocks(), 60u);
    EXPECT_EQ(audio.allocations(), 0u);
    // Module changes every few blocks outrun the limiter's attack; nothing may run away.
    EXPECT_EQ(audio.badSamples(), 0u);
}

// A host that automates a type from its audio thread, between blocks: the plug-in neither
// allocates there nor builds the module; the instance's worker builds it, and a later block
// installs it.
TEST(EngineThreads, TypeSetOnTheAudioThreadIsBuiltElsewhereAndHeardLater) {
    InProcessHost host(48000.0f);
    host.script().extra = [](int32_t opcode, int32_t, intptr_t, void*, intptr_t& answer) {
        if (opcode != vst::audioMasterGetCurrentProcessLevel) return false;
        answer = vst::kProcessLevelRealtime;
        return true;
    };
    kirra::Plugin& plugin = host.plugin();
    Stereo block(64);
    host.process(block, 64);  // this thread is now the one that runs the blocks
    {
        AllocationCounter counter;
        plugin.setParameter(kOperatorType1,
                            stateValue(kirra::kDelayLine, kirra::kModuleTypeStates));
        EXPECT_EQ(counter.count(), 0u);
    }
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (plugin.getOperatorType(0) != kirra::kDelayLine &&
           std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(plugin.getOperatorType(0), kirra::kDelayLine);
    // The chain of unity gains passed the input; the delay line's first echo is far away.
    Stereo output = host.process(stereo(std::vector<float>(256, 0.5f)), 64);
    EXPECT_EQ(output.left.back(), 0.0f);
}
