// MIDI through the host's event list: notes, pressures and pitch bend as the modulation slots
// see them, sample-accurate timing inside the block, damaged lists, and MIDI learn with its
// automation and editor notifications. (That none of it allocates is a real-time safety test.)

#include <gtest/gtest.h>

#include <vector>

#include "engine/EditorNotifications.h"
#include "engine/ModulationSlots.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleCatalogue.h"
#include "support/EventList.h"
#include "support/InProcessHost.h"
#include "support/Signals.h"
#include "support/SlotRouting.h"

using namespace testing_support;
using namespace kirra::param;
using Slots = kirra::ModulationSlots;

namespace {

// Sends the list and runs one block of the given length.
void play(InProcessHost& host, EventList& events, int frames = 64) {
    events.sendTo(host);
    host.process(Stereo(frames), frames);
}

struct RecordingEditor : kirra::EditorNotifications {
    std::vector<std::pair<int, int>> learnCalls;
    void parameterChanged(int, float) override {}
    void learnStateChanged(int state, int controller) override {
        learnCalls.emplace_back(state, controller);
    }
    void redrawAll() override {}
};

struct MidiInput : ::testing::Test {
    InProcessHost host;
    kirra::Plugin& plugin = host.plugin();
    const kirra::MidiState& midi = plugin.getMidiState();
};

}  // namespace

TEST_F(MidiInput, NotesKeepTheGateUntilTheLastHeldOneIsReleased) {
    play(host, EventList().midi(0, 0x90, 60, 100).midi(3, 0x91, 64, 80).midi(5, 0x80, 60, 0));
    EXPECT_EQ(midi.gate, 1.0f);
    EXPECT_FLOAT_EQ(midi.velocity, 80 / 127.0f);
    EXPECT_EQ(midi.heldCount, 1);
    // A note-on of velocity 0 releases like a note-off
    play(host, EventList().midi(0, 0x9F, 64, 0));
    EXPECT_EQ(midi.gate, 0.0f);
    EXPECT_EQ(midi.velocity, 0.0f);
    EXPECT_EQ(midi.heldCount, 0);
    EXPECT_FLOAT_EQ(midi.noteNumber, 64 / 127.0f);
    EXPECT_FLOAT_EQ(midi.noteFrequency, (64 - 9) / 96.0f);
    // A repeated note-on and the release of a note not held change nothing.
    play(host, EventList()
                   .midi(0, 0x80, 70)
                   .midi(0, 0x90, 50, 90)
                   .midi(1, 0x90, 50, 10)
                   .midi(2, 0x80, 51));
    EXPECT_EQ(midi.heldCount, 1);
    EXPECT_FLOAT_EQ(midi.velocity, 90 / 127.0f);
    play(host, EventList().midi(0, 0x80, 50));
    EXPECT_EQ(midi.gate, 0.0f);
}

TEST_F(MidiInput, PerformanceValuesAndTheEndsOfTheirRanges) {
    EXPECT_FLOAT_EQ(midi.noteNumber, 45 / 127.0f);  // before any note
    EventList events;
    events.midi(0, 0xE0, 0, 64).midi(1, 0x90, 127, 127).midi(2, 0xA0, 127, 64).midi(3, 0xA0, 5, 99);
    events.midi(4, 0xD3, 32).midi(5, 0x90, 0, 1);
    play(host, events);
    EXPECT_EQ(midi.pitchBend, 0.0f);
    EXPECT_FLOAT_EQ(midi.keyPressure, 64 / 127.0f);  // pressure of another note is ignored
    EXPECT_FLOAT_EQ(midi.channelPressure, 32 / 127.0f);
    EXPECT_FLOAT_EQ(midi.noteNumber, 0.0f);
    EXPECT_FLOAT_EQ(midi.noteFrequency, -9 / 96.0f);
    EXPECT_FLOAT_EQ(midi.velocity, 1 / 127.0f);
    play(host, EventList().midi(0, 0xE0, 0, 0));
    EXPECT_EQ(midi.pitchBend, -1.0f);
    play(host, EventList().midi(0, 0xE5, 127, 127));
    EXPECT_NEAR(midi.pitchBend, 0.99988f, 1e-5f);
    // the last note off clears the pressures too
    play(host, EventList().midi(0, 0x80, 127).midi(0, 0x80, 0));
    EXPECT_EQ(midi.keyPressure, 0.0f);
    EXPECT_EQ(midi.channelPressure, 0.0f);
}

TEST_F(MidiInput, MalformedMessagesAndListsStayInsideTheirTables) {
    EventList events;
    // Data bytes with the top bit set read as their low seven bits; a message without a
    // status byte (running status has no place in an event) and system messages are ignored.
    events.midi(0, 0x90, 200, 0xFF).midi(1, 0x40, 60, 100).midi(2, 0xF8, 1, 2).other(3);
    events.midi(4, 0xC0, 5).midi(5, 0xB0, 0x81, 0xFF);
    play(host, events);
    EXPECT_TRUE(midi.noteHeld[200 & 0x7F]);
    EXPECT_EQ(midi.heldCount, 1);
    EXPECT_FALSE(midi.noteHeld[60]);
    EXPECT_FLOAT_EQ(midi.controllers[1], 1.0f);

    // Events beyond the block or out of order stop the list. Handled: 10. Then 5 comes after
    // 10: the list stops, and 20 is never reached.
    play(host, EventList().midi(10, 0xB0, 2, 10).midi(5, 0xB0, 3, 20).midi(20, 0xB0, 4, 30));
    EXPECT_FLOAT_EQ(midi.controllers[2], 10 / 127.0f);
    EXPECT_EQ(midi.controllers[3], 0.0f);
    EXPECT_EQ(midi.controllers[4], 0.0f);
    // Offsets at or past the block's end, or negative
    play(host, EventList().midi(63, 0xB0, 5, 40).midi(64, 0xB0, 6, 50).midi(1000, 0xB0, 7, 60));
    play(host, EventList().midi(-1, 0xB0, 8, 70));
    EXPECT_FLOAT_EQ(midi.controllers[5], 40 / 127.0f);
    EXPECT_EQ(midi.controllers[6], 0.0f);
    EXPECT_EQ(midi.controllers[7], 0.0f);
    EXPECT_EQ(midi.controllers[8], 0.0f);
    host.process(Stereo(64), 64);  // the list is used once
    EXPECT_EQ(midi.controllers[6], 0.0f);
}

TEST_F(MidiInput, EventsActAtTheirSampleInsideTheBlock) {
    // A controller drives operator 1's attenuation from 0; the control update at the 32nd
    // sample sees it only when it came at or before that sample.
    for (int offset : {0, 31, 32}) {
        auto probe = makeOperatorProbe(kirra::kGain, 44100.0f, {{0, 0.0f}});
        routeSlot(probe->plugin(), 0, Slots::kSourceController0 + 1, Slots::kDestinationOperator,
                  1.0f);
        probe->process(Stereo(64), 64);  // two control periods take the gain to 0
        EventList events;
        events.midi(offset, 0xB0, 1, 127).sendTo(*probe);
        Stereo out = probe->process(stereo(std::vector<float>(128, 1.0f)), 128);
        bool early = offset < 32;
        EXPECT_EQ(out.left[30], 0.0f) << offset;
        EXPECT_NEAR(out.left[31], early ? 1.0f / 32 : 0.0f, 1e-5f) << offset;
        EXPECT_NEAR(out.left[63], early ? 1.0f : 1.0f / 32, 1e-5f) << offset;
    }
}

TEST_F(MidiInput, LearnedControllerMovesItsKnobAsHostAutomation) {
    RecordingEditor editor;
    plugin.attachEditor(nullptr, &editor);
    kirra::MidiLearn& learn = plugin.getMidiLearn();
    learn.setState(kirra::MidiLearn::kLearnKnob1 + 2);  // KNOB3
    play(host, EventList().midi(0, 0xB0, 20, 64));
    EXPECT_EQ(learn.getLearnedController(2), 20);
    EXPECT_EQ(learn.getState(), kirra::MidiLearn::kIdle);
    EXPECT_FLOAT_EQ(plugin.getParameter(kKnob1 + 2), 64 / 127.0f);
    ASSERT_EQ(host.script().automation.size(), 1u);
    EXPECT_EQ(host.script().automation[0].first, kKnob1 + 2);
    EXPECT_FLOAT_EQ(host.script().automation[0].second, 64 / 127.0f);
    ASSERT_EQ(editor.learnCalls.size(), 1u);
    EXPECT_EQ(editor.learnCalls[0], std::make_pair(0, 20));

    learn.setState(kirra::MidiLearn::kLearnInput + 1);  // Mix learns the same controller
    play(host, EventList().midi(0, 0xB3, 20, 127).midi(1, 0xB0, 21, 5));
    EXPECT_EQ(learn.getLearnedController(9), 20);
    EXPECT_EQ(plugin.getParameter(kMix), 1.0f);
    EXPECT_EQ(plugin.getParameter(kKnob1 + 2), 1.0f);
    EXPECT_EQ(host.script().automation.size(), 3u);  // controller 21 drives nothing

    learn.setState(kirra::MidiLearn::kMonitor);  // shows the number only
    play(host, EventList().midi(0, 0xB0, 7, 1));
    EXPECT_EQ(editor.learnCalls.back(), std::make_pair(0, 7));
    for (int control = 0; control < kirra::MidiLearn::kControls; ++control)
        EXPECT_NE(learn.getLearnedController(control), 7);

    learn.setState(kirra::MidiLearn::kLearnKnob1);
    plugin.suspend();
    EXPECT_EQ(learn.getState(), kirra::MidiLearn::kIdle);
    EXPECT_EQ(learn.getLearnedController(2), 20);  // learned numbers outlive a suspend
    plugin.attachEditor(nullptr, nullptr);

    // States and controls that do not exist change nothing; a controller number that does not
    // exist leaves the control unlearned.
    learn.setState(13);
    learn.setState(-1);
    EXPECT_EQ(learn.getState(), kirra::MidiLearn::kIdle);
    learn.setLearnedController(11, 5);
    EXPECT_EQ(learn.getLearnedController(11), kirra::MidiLearn::kNone);
    learn.setLearnedController(10, 127);
    learn.setLearnedController(2, 128);
    EXPECT_EQ(learn.getLearnedController(10), 127);
    EXPECT_EQ(learn.getLearnedController(2), kirra::MidiLearn::kNone);
}
