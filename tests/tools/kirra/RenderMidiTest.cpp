// The host renders with a MIDI file: messages reach the plug-in at their sample through the
// effect record, block by block.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/ModulationSlots.h"
#include "engine/ParameterIndex.h"
#include "engine/Plugin.h"
#include "kirra/MidiFile.h"
#include "kirra/Renderer.h"
#include "support/SlotRouting.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Note 60 from tick 96 to tick 192 at 96 ticks per quarter note: 0.5 s to 1 s at 120 BPM.
const Bytes kOneNote = {
    'M',  'T',  'h',  'd',  0,    0,    0,  6,  0, 0, 0, 1, 0, 96,  // format 0, one track, 96 ticks
    'M',  'T',  'r',  'k',  0,    0,    0,  13,                     // the track: 13 bytes
    0x60, 0x90, 60,   100,  0x60, 0x80, 60, 0,                      // note on, note off
    0x00, 0xFF, 0x2F, 0x00,                                         // end of track
};

}  // namespace

TEST(RenderMidi, NoteGateOpensTheSoundAtTheNotesSample) {
    using namespace kirra::param;
    using Slots = kirra::ModulationSlots;
    host::MidiFile file;
    std::string error;
    ASSERT_TRUE(host::parseMidiFile(kOneNote.data(), kOneNote.size(), file, error));
    host::PluginHost plugin;
    ASSERT_TRUE(plugin.load(KIRRA_PLUGIN_PATH, error)) << error;
    plugin.setSampleRate(44100.0);
    // The slot's source and destination are not host parameters; the test reaches the
    // instance inside the loaded library (built from these very sources) to set them.
    auto* instance = static_cast<kirra::Plugin*>(vst::AudioEffect::fromEffect(plugin.effect()));
    instance->setParameter(kOutLimiter, 0.0f);
    testing_support::routeSlot(*instance, 0, Slots::kSourceNoteGate, Slots::kDestinationOperator,
                               1.0f);
    plugin.setParameter(operatorParameter(0, 0), 0.0f);  // OP1 atten: silent without the note
    plugin.resume();

    host::MidiSchedule midi;
    midi.addFile(file, 120.0, 44100.0);
    host::AudioBuffer input;
    input.sampleRate = 44100.0;
    input.resize(2, 66150);
    for (auto& channel : input.channels)
        std::fill(channel.begin(), channel.end(), 0.5f);
    host::RenderSettings settings;
    settings.midi = &midi;
    host::AudioBuffer output;
    host::render(plugin, input, nullptr, output, settings);
    const auto& left = output.channels[0];
    // The note arrives at frame 22050 (offset 34 of the 44th block); the control update at
    // frame 22079 is the first to see it, and three operator links delay the sound.
    const size_t onset = 22079 + 3;
    EXPECT_EQ(left[onset - 1], 0.0f);
    EXPECT_GT(left[onset], 0.0f);
    EXPECT_NEAR(left[onset + 40], 0.5f, 1e-5f);
    // The note-off at frame 44100 is seen at 44127.
    EXPECT_NEAR(left[44127 + 2], 0.5f, 1e-5f);
    EXPECT_LT(left[44127 + 3], 0.5f);
    EXPECT_EQ(left[44127 + 3 + 40], 0.0f);
    EXPECT_EQ(midi.scheduledCount(), 2u);
}
