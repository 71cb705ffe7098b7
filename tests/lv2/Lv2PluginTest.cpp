// The LV2 plug-in as hosts load it, through lilv: its description against the engine, its sound
// against the VST path with MIDI, learn and the transport, state and factory presets, and what
// careless hosts do. And the bundle with the LV2 tools every Linux distribution ships: listed,
// described without a warning, and rendering through lv2apply exactly what `kirra render`
// renders through the VST plug-in with the same settings.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <set>
#include <thread>

#include "engine/ParameterIndex.h"
#include "kirra/AudioBuffer.h"
#include "lv2/Identifiers.h"
#include "lv2/LilvHost.h"
#include "lv2/PortLayout.h"
#include "lv2/core/lv2.h"
#include "lv2/state/state.h"
#include "modulators/STEP.h"
#include "modules/ModuleCatalogue.h"
#include "platform/EngineMutex.h"
#include "support/ConfigHome.h"
#include "support/EventList.h"
#include "support/HostCommand.h"
#include "support/Signals.h"
#include "support/SlotRouting.h"

using namespace testing_support;
using namespace kirra::lv2;
using kirra::ModulationSlots;
namespace param = kirra::param;

namespace {

// A step sequencer walking sixteen levels with the song in 1/64 notes drives Mix, controller 1
// the input level, and a learned controller KNOB1, which drives the output level.
void listenToMidiAndTheSong(kirra::Plugin& engine) {
    using kirra::STEP;
    setModulatorType(engine, 0, kirra::kSTEP);
    for (int step = 0; step < STEP::kMaxSteps; ++step) {
        engine.setParameter(param::modulatorParameter(0, STEP::kStepLeft1 + step), step / 15.0f);
        engine.setParameter(param::modulatorParameter(0, STEP::kStepRight1 + step), step / 15.0f);
    }
    engine.setParameter(param::modulatorParameter(0, STEP::kMode),
                        stateValue(STEP::kSongPosition, STEP::kModeCount));
    engine.setParameter(param::modulatorParameter(0, STEP::kGrid), stateValue(9, 30));
    routeSlot(engine, 0, ModulationSlots::kSourceModulator1, ModulationSlots::kDestinationMain + 1,
              0.9f);
    routeSlot(engine, 1, ModulationSlots::kSourceController0 + 1, ModulationSlots::kDestinationMain,
              0.2f);
    routeSlot(engine, 2, ModulationSlots::kSourceKnob1, ModulationSlots::kDestinationMain + 2,
              0.3f);
    engine.setLearnedController(0, 7);
}

// Standard output, or standard errors alone.
std::string runTool(const std::string& command, bool errors = false) {
    return runShell("LV2_PATH=" + shellQuoted(LilvHost::searchPath()) + " " + command +
                    (errors ? " 2>&1 >/dev/null" : " 2>/dev/null"))
        .output;
}

void writeChannels(const std::string& path, const std::vector<std::vector<float>>& channels) {
    host::AudioBuffer buffer;
    buffer.channels = channels;
    std::string error;
    ASSERT_TRUE(host::writeAudioFile(path, buffer, error)) << error;
}

}  // namespace

TEST(Lv2Plugin, PortsDescribeTheEngineParameters) {
    const LilvPlugin* plugin = LilvHost::plugin();
    ASSERT_NE(plugin, nullptr);
    ASSERT_EQ(lilv_plugin_get_num_ports(plugin), kPortCount);
    std::vector<float> defaults(kPortCount);
    lilv_plugin_get_port_ranges_float(plugin, nullptr, nullptr, defaults.data());
    InProcessHost vst;
    kirra::Plugin& engine = vst.plugin();
    std::set<std::string> symbols;
    for (uint32_t index = 0; index < kParameterPorts; ++index) {
        const LilvPort* port = lilv_plugin_get_port_by_index(plugin, index);
        symbols.insert(lilv_node_as_string(lilv_port_get_symbol(plugin, port)));
        // The host starts where a fresh instance starts, so it has nothing to apply.
        EXPECT_EQ(defaults[index], engine.getParameter(static_cast<int32_t>(index))) << index;
    }
    // Then a named state reads in the host as the engine shows it once the value is set.
    for (uint32_t index = 0; index < kParameterPorts; ++index) {
        const LilvPort* port = lilv_plugin_get_port_by_index(plugin, index);
        LilvScalePoints* points = lilv_port_get_scale_points(plugin, port);
        LILV_FOREACH(scale_points, i, points) {
            const LilvScalePoint* point = lilv_scale_points_get(points, i);
            engine.setParameter(static_cast<int32_t>(index),
                                lilv_node_as_float(lilv_scale_point_get_value(point)));
            EXPECT_EQ(
                hostText(engine, &kirra::Plugin::getParameterDisplay, static_cast<int>(index)),
                lilv_node_as_string(lilv_scale_point_get_label(point)));
        }
        lilv_scale_points_free(points);
    }
    EXPECT_EQ(symbols.size(), kParameterPorts);
    EXPECT_TRUE(lilv_plugin_has_latency(plugin));
    EXPECT_EQ(lilv_plugin_get_latency_port_index(plugin), kLatencyOut);
}

TEST(Lv2Plugin, SoundsAsTheVstPathWithMidiLearnAndTheTransport) {
    InProcessHost vst;
    LilvHost lv2;
    listenToMidiAndTheSong(vst.plugin());
    listenToMidiAndTheSong(lv2.engine());
    constexpr size_t kBlock = 128;
    const Stereo input = stereo(noise(64 * kBlock, 3, 0.5f));
    vst.script().playing = true;
    vst.script().tempoBpm = 93.0;
    vst.script().quarterNotes = 6.5;
    Stereo expected;
    for (size_t start = 0; start < input.frames(); start += kBlock) {
        // The LV2 host tells the transport at the start of every VST block, two to a run; half
        // way through a run the song jumps, as when a loop starts again.
        if (start == 33 * kBlock) vst.script().quarterNotes -= 0.3;
        lv2.position(start, vst.script().quarterNotes, 93.0, 1.0);
        EventList events;
        if (start == 2 * kBlock) {
            events.midi(10, 0xB0, 7, 100).midi(70, 0xB0, 1, 90).midi(70, 0x90, 60, 99);
            lv2.midi(start + 10, 0xB0, 7, 100);
            lv2.midi(start + 70, 0xB0, 1, 90);
            lv2.midi(start + 70, 0x90, 60, 99);
        }
        events.sendTo(vst);
        Stereo out = vst.process(slice(input, start, start + kBlock), kBlock);
        expected.left.insert(expected.left.end(), out.left.begin(), out.left.end());
        expected.right.insert(expected.right.end(), out.right.begin(), out.right.end());
    }
    Stereo output = lv2.process(input, 2 * kBlock);
    EXPECT_EQ(output.left, expected.left);
    EXPECT_EQ(output.right, expected.right);
    EXPECT_NE(output.left, input.left);
    // The learned knob moved; the VST host heard it as automation, the LV2 host hears it from
    // the UI.
    EXPECT_FALSE(vst.script().automation.empty());
    std::vector<uint32_t> told;
    lv2.adapter().takeHostUpdates(
        [](void* list, uint32_t port, float) {
            static_cast<std::vector<uint32_t>*>(list)->push_back(port);
        },
        &told);
    EXPECT_EQ(told, std::vector<uint32_t>{param::kKnob1});
    EXPECT_EQ(lv2.runAllocations(), 0u);
}

// The editor or the host holding the engine lock never holds up a run: the ports' values act at
// once, and a module type among them is built on another thread and heard a few runs later.
TEST(Lv2Plugin, RunsWhileAnotherThreadHoldsTheEngineLock) {
    LilvHost lv2;
    lv2.process(Stereo(64), 64);
    std::atomic<bool> held{false};
    std::atomic<bool> ran{false};
    bool ranWhileHeld = false;
    std::thread editor([&] {
        platform::EngineLock lock(lv2.engine().getEngineMutex());
        held = true;
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!ran && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::yield();
        ranWhileHeld = ran;
    });
    while (!held)
        std::this_thread::yield();
    lv2.control("mix") = 0.3f;
    lv2.control("op1_type") = stateValue(kirra::kDelayLine, kirra::kModuleTypeStates);
    lv2.process(Stereo(64), 64);
    ran = true;
    editor.join();
    EXPECT_TRUE(ranWhileHeld);
    EXPECT_EQ(lv2.engine().getParameter(param::kMix), 0.3f);

    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (lv2.engine().getOperatorType(0) != kirra::kDelayLine &&
           std::chrono::steady_clock::now() < giveUp) {
        lv2.process(Stereo(64), 64);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(lv2.engine().getOperatorType(0), kirra::kDelayLine);
    EXPECT_EQ(lv2.runAllocations(), 0u);
}

TEST(Lv2Plugin, StateRestoresInANewInstanceAndRefusesWhatIsNotOurs) {
    LilvHost first;
    first.control("mix") = 0.6f;
    first.control("op2_type") = 0.0234375f;  // a biquad
    first.engine().setLearnedController(9, 21);
    first.process(Stereo(64), 64);
    LilvState* state = first.saveState();
    ASSERT_NE(state, nullptr);
    LilvHost second;
    second.restoreState(state);
    lilv_state_free(state);
    EXPECT_EQ(chunkOf(second.engine()), chunkOf(first.engine()));
    first.engine().suspend();
    const Stereo input = stereo(noise(4096, 5, 0.5f));
    EXPECT_EQ(second.process(input, 512).left, first.process(input, 512).left);
    // A port the host left at an older value does not undo a restore; its next change counts.
    LilvState* again = second.saveState();
    second.control("mix") = 0.2f;
    second.restoreState(again);
    second.control("mix") = 0.2f;
    second.process(Stereo(64), 64);
    EXPECT_EQ(second.engine().getParameter(param::kMix), 0.6f);
    second.control("mix") = 0.25f;
    second.process(Stereo(64), 64);
    EXPECT_EQ(second.engine().getParameter(param::kMix), 0.25f);
    lilv_state_free(again);

    // Blobs of the wrong size, identifier or type leave everything as it was.
    const std::vector<uint8_t> before = chunkOf(second.engine());
    const auto* interface = static_cast<const LV2_State_Interface*>(
        lilv_instance_get_extension_data(second.instance(), LV2_STATE__interface));
    struct Blob {
        LV2_URID key;
        LV2_URID type;
        std::vector<uint8_t> data;
    };
    const LV2_URID chunkKey = second.uris().map(kStateChunkUri);
    const LV2_URID chunkType = second.uris().map(LV2_ATOM__Chunk);
    std::vector<uint8_t> wrongIdentifier = before;
    wrongIdentifier[5] ^= 0x20;
    for (const Blob& blob :
         {Blob{chunkKey, chunkType, std::vector<uint8_t>(before.begin(), before.end() - 1)},
          Blob{chunkKey, chunkType, wrongIdentifier},
          Blob{chunkKey, second.uris().map(LV2_ATOM__String), before},
          Blob{second.uris().map(kProgramUri), chunkType, std::vector<uint8_t>(100)},
          Blob{second.uris().map("urn:other"), chunkType, before}}) {
        auto retrieve = [](LV2_State_Handle handle, uint32_t key, size_t* size, uint32_t* type,
                           uint32_t* flags) -> const void* {
            const auto& stored = *static_cast<const Blob*>(handle);
            if (key != stored.key) return nullptr;
            *size = stored.data.size();
            *type = stored.type;
            *flags = LV2_STATE_IS_POD;
            return stored.data.data();
        };
        EXPECT_NE(interface->restore(lilv_instance_get_handle(second.instance()), retrieve,
                                     const_cast<Blob*>(&blob), 0, nullptr),
                  LV2_STATE_SUCCESS);
        EXPECT_EQ(chunkOf(second.engine()), before);
    }
}

TEST(Lv2Plugin, FactoryPresetsSoundAsSelectingTheProgram) {
    const Stereo input = stereo(noise(8192, 7, 0.5f));
    for (auto [bank, program] : {std::pair{0, 1}, {1, 16}, {2, 44}}) {
        char name[16];
        std::snprintf(name, sizeof(name), "%c%02d", 'A' + bank, program + 1);
        LilvNode* uri =
            lilv_new_uri(LilvHost::world(), (std::string(kPresetUriPrefix) + name).c_str());
        lilv_world_load_resource(LilvHost::world(), uri);
        LilvHost lv2;
        LilvState* preset = lilv_state_new_from_world(LilvHost::world(), lv2.uris().lv2Map(), uri);
        lilv_node_free(uri);
        ASSERT_NE(preset, nullptr) << name;
        lv2.process(Stereo(100), 100);
        lv2.restoreState(preset);
        lilv_state_free(preset);
        InProcessHost vst;
        vst.process(Stereo(100), 100);
        // The bank chosen, then the program, as the host's chunk does.
        vst.plugin().getPrograms().setCurrentBank(bank);
        vst.plugin().selectProgram(program);
        EXPECT_EQ(currentProgramName(lv2.engine()), currentProgramName(vst.plugin()));
        EXPECT_EQ(lv2.process(input, 512).left, vst.process(input, 512).left) << name;
    }
}

TEST(Lv2Plugin, CarelessHostsBreakNothing) {
    const Stereo input = stereo(noise(10000, 9, 0.5f));
    // lv2apply offers no features at all: audio and controls work, state cannot.
    LilvHost bare(48000.0, false);
    ASSERT_NE(bare.instance(), nullptr);
    bare.control("mix") = 0.5f;
    EXPECT_EQ(countBadSamples(bare.process(input, 333).left), 0u);
    const auto* interface = static_cast<const LV2_State_Interface*>(
        lilv_instance_get_extension_data(bare.instance(), LV2_STATE__interface));
    EXPECT_EQ(
        interface->save(lilv_instance_get_handle(bare.instance()), nullptr, nullptr, 0, nullptr),
        LV2_STATE_ERR_NO_FEATURE);

    // Runs before activation, of no frames and of more than announced; the sidechain (as in
    // every test here), events and latency left unconnected; more MIDI in one run than there is
    // room for.
    LilvHost host;
    lilv_instance_run(host.instance(), 0);
    lilv_instance_run(host.instance(), 64);
    host.disconnect(kEventsIn);
    host.disconnect(kLatencyOut);
    EXPECT_EQ(countBadSamples(host.process(input, input.frames()).right), 0u);
    LilvHost flooded;
    for (size_t i = 0; i < 3000; ++i)
        flooded.midi(i % 100, 0x90, static_cast<uint8_t>(i % 128), 100);
    EXPECT_EQ(countBadSamples(flooded.process(input, input.frames()).left), 0u);
    lilv_instance_run(flooded.instance(), 0);
}

TEST(Lv2Tools, ListedDescribedAndRenderingAsTheVstPlugin) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the tools cannot load a plug-in built with the sanitizers";
#endif
    EXPECT_NE(runTool("lv2ls").find("urn:vantor:kirra"), std::string::npos);
    EXPECT_EQ(runTool("lv2info urn:vantor:kirra", true), "");
    EXPECT_NE(runTool("lv2info urn:vantor:kirra").find("Kirra"), std::string::npos);

    TemporaryFolder folder;
    const std::vector<float> left = noise(30000, 11, 0.6f);
    const std::vector<float> right = sine(330.0, 44100.0, 30000, 0.5);
    const std::vector<float> sideLeft = sine(3.0, 44100.0, 30000, 0.4);
    const std::vector<float> sideRight = noise(30000, 12, 0.3f);
    writeChannels(folder.file("in4.wav"), {left, right, sideLeft, sideRight});
    writeChannels(folder.file("main.wav"), {left, right});
    writeChannels(folder.file("side.wav"), {sideLeft, sideRight});
    // lv2apply gives no transport, as a stopped one does; a biquad in slot 2 and the sidechain
    // mixer in slot 3, which hears the sidechain ports.
    runTool("lv2apply -i " + folder.file("in4.wav") + " -o " + folder.file("lv2.wav") +
            " -c mix 0.7 -c op2_type 0.0234375 -c op3_type 0.2578125 -c input 0.6" +
            " urn:vantor:kirra");
    CommandResult vst = runKirraCommand(
        "render " + folder.file("main.wav") + " " + folder.file("vst.wav") + " --sidechain " +
        folder.file("side.wav") + " --stopped --quiet --set Mix=0.7 --set 'OP2 type=0.0234375'" +
        " --set 'OP3 type=0.2578125' --set Input=0.6");
    ASSERT_EQ(vst.status, 0) << vst.output;
    host::AudioBuffer fromLv2;
    host::AudioBuffer fromVst;
    std::string error;
    ASSERT_TRUE(host::readAudioFile(folder.file("lv2.wav"), fromLv2, error)) << error;
    ASSERT_TRUE(host::readAudioFile(folder.file("vst.wav"), fromVst, error)) << error;
    EXPECT_EQ(fromLv2.channels, fromVst.channels);
    EXPECT_GT(peak(fromLv2.channels.at(0)), 0.1);
}
