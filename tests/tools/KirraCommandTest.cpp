// The command-line host end to end: the commands a user runs, their output files and failures.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kirra/AudioBuffer.h"
#include "kirra/DemoSignal.h"
#include "support/ConfigHome.h"
#include "support/HostCommand.h"

using namespace testing_support;

TEST(KirraCommand, RendersAFileWithSettingsAppliedInOrder) {
    TemporaryFolder folder;
    const std::string in = folder.file("in.wav");
    const std::string out = folder.file("out.wav");
    host::AudioBuffer input = host::makeDemoSignal(48000.0, 1.0);
    std::string error;
    ASSERT_TRUE(host::writeAudioFile(in, input, error)) << error;
    // The type first, then a parameter the new module has; 0 attenuation silences the chain.
    CommandResult run =
        runKirraCommand("render " + in + " " + out +
                        " --set 'OP2 type=0.2109375' --set 'OP2 width=0.5' --set 'OP3 atten=0'" +
                        " --block 100 --tail 0.5");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("program:   [flat]"), std::string::npos);
    host::AudioBuffer output;
    ASSERT_TRUE(host::readAudioFile(out, output, error)) << error;
    EXPECT_EQ(output.sampleRate, 48000.0);
    EXPECT_EQ(output.channels.size(), 2u);
    EXPECT_EQ(output.frames(), input.frames() + 24000);
    EXPECT_EQ(host::measureLevels(output).peakDb, -1000.0);
}

TEST(KirraCommand, RendersTheDemoAndBenchmarks) {
    TemporaryFolder folder;
    CommandResult run = runKirraCommand("render " + folder.file("demo.wav") + " --sr 44100");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("built-in demo"), std::string::npos);
    EXPECT_NE(run.output.find("realtime"), std::string::npos);
    CommandResult bench = runKirraCommand("bench --seconds 0.5 --repeat 2 --block 64");
    ASSERT_EQ(bench.status, 0) << bench.output;
    EXPECT_NE(bench.output.find("realtime factor:"), std::string::npos);
}

TEST(KirraCommand, ReportsBadRequestsWithoutCrashing) {
    EXPECT_EQ(runKirraCommand("").status, 2);
    EXPECT_EQ(runKirraCommand("frobnicate").status, 2);
    EXPECT_EQ(runKirraCommand("render").status, 2);
    EXPECT_EQ(runKirraCommand("info --block 0").status, 2);
    EXPECT_EQ(runKirraCommand("info --set Mix").status, 2);
    EXPECT_EQ(runKirraCommand("info --set Mix=2").status, 1);
    EXPECT_EQ(runKirraCommand("info --set Nonsense=0.5").status, 1);
    EXPECT_EQ(runKirraCommand("info --plugin /nonexistent/plugin.so").status, 1);
    EXPECT_EQ(runKirraCommand("render /nonexistent/in.wav /nonexistent/out.wav").status, 1);
    EXPECT_EQ(runKirraCommand("info --plugin /bin/true").status, 1);
}

TEST(KirraCommand, RendersWithAMidiFileAndReportsItsDamage) {
    // A note from tick 96 to tick 192; the track ends inside the note-off.
    const std::vector<uint8_t> damaged = {
        'M',  'T',  'h', 'd', 0,    0,    0,  6,
        0,    0,    0,   1,   0,    96,            // format 0, one track, 96 ticks
        'M',  'T',  'r', 'k', 0,    0,    0,  13,  // the track: 13 bytes announced
        0x60, 0x90, 60,  100, 0x60, 0x80, 60,      // note on, note off cut short
    };
    TemporaryFolder folder;
    const std::string midi = folder.file("damaged.mid");
    writeBytes(midi, damaged);
    const std::string out = folder.file("midi.wav");
    CommandResult run = runKirraCommand("render " + out + " --sr 8000 --midi " + midi +
                                        " --tempo 90 --position -4 --stopped");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("1 messages played"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("skipped: track 1"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("90.00 BPM from -4.00 quarter notes, stopped"), std::string::npos)
        << run.output;

    writeBytes(midi, {'R', 'I', 'F', 'F', 0, 0, 0, 4, 'W', 'A', 'V', 'E'});
    run = runKirraCommand("render " + out + " --midi " + midi);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("not a standard MIDI file"), std::string::npos) << run.output;
    EXPECT_EQ(runKirraCommand("render " + out + " --tempo 0").status, 2);
    EXPECT_EQ(runKirraCommand("render " + out + " --position x").status, 2);
}
