// The command-line host end to end: the commands a user runs, their output files and failures.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "kirra/AudioBuffer.h"
#include "kirra/DemoSignal.h"

namespace {

struct CommandResult {
    int status;
    std::string output;
};

CommandResult kirra(const std::string& arguments) {
    std::string command = std::string(KIRRA_HOST_PATH) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    CommandResult run{-1, ""};
    if (pipe == nullptr) return run;
    char buffer[4096];
    size_t read;
    while ((read = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0)
        run.output.append(buffer, read);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string temporaryPath(const char* name) {
    return ::testing::TempDir() + "/kirra_" + std::to_string(::getpid()) + "_" + name;
}

}  // namespace

TEST(KirraCommand, InfoListsWhatTheHostSees) {
    CommandResult run = kirra("info");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("\"VnKr\""), std::string::npos);
    EXPECT_NE(run.output.find("parameters:      307"), std::string::npos);
    EXPECT_NE(run.output.find("inputs/outputs:  4 / 2"), std::string::npos);
    EXPECT_NE(run.output.find("program-chunks"), std::string::npos);
    EXPECT_NE(run.output.find("OP4->OUT"), std::string::npos);
}

TEST(KirraCommand, RendersAFileWithSettingsAppliedInOrder) {
    const std::string in = temporaryPath("in.wav");
    const std::string out = temporaryPath("out.wav");
    host::AudioBuffer input = host::makeDemoSignal(48000.0, 1.0);
    std::string error;
    ASSERT_TRUE(host::writeAudioFile(in, input, error)) << error;
    // The type first, then a parameter the new module has; 0 attenuation silences the chain.
    CommandResult run =
        kirra("render " + in + " " + out +
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
    std::remove(in.c_str());
    std::remove(out.c_str());
}

TEST(KirraCommand, RendersTheDemoAndBenchmarks) {
    const std::string out = temporaryPath("demo.wav");
    CommandResult run = kirra("render " + out + " --sr 44100");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("built-in demo"), std::string::npos);
    EXPECT_NE(run.output.find("realtime"), std::string::npos);
    std::remove(out.c_str());
    CommandResult bench = kirra("bench --seconds 0.5 --repeat 2 --block 64");
    ASSERT_EQ(bench.status, 0) << bench.output;
    EXPECT_NE(bench.output.find("realtime factor:"), std::string::npos);
}

TEST(KirraCommand, ReportsBadRequestsWithoutCrashing) {
    EXPECT_EQ(kirra("").status, 2);
    EXPECT_EQ(kirra("frobnicate").status, 2);
    EXPECT_EQ(kirra("render").status, 2);
    EXPECT_EQ(kirra("info --block 0").status, 2);
    EXPECT_EQ(kirra("info --set Mix").status, 2);
    EXPECT_EQ(kirra("info --set Mix=2").status, 1);
    EXPECT_EQ(kirra("info --set Nonsense=0.5").status, 1);
    EXPECT_EQ(kirra("info --plugin /nonexistent/plugin.so").status, 1);
    EXPECT_EQ(kirra("render /nonexistent/in.wav " + temporaryPath("x.wav")).status, 1);
    EXPECT_EQ(kirra("info --plugin /bin/true").status, 1);
}

TEST(KirraCommand, RendersWithAMidiFileAndReportsItsDamage) {
    // A note from tick 96 to tick 192; the track ends inside the note-off.
    const std::vector<unsigned char> damaged = {
        'M',  'T',  'h', 'd', 0,    0,    0,  6,
        0,    0,    0,   1,   0,    96,            // format 0, one track, 96 ticks
        'M',  'T',  'r', 'k', 0,    0,    0,  13,  // the track: 13 bytes announced
        0x60, 0x90, 60,  100, 0x60, 0x80, 60,      // note on, note off cut short
    };
    const std::string midi = temporaryPath("damaged.mid");
    std::ofstream(midi, std::ios::binary)
        .write(reinterpret_cast<const char*>(damaged.data()), damaged.size());
    const std::string out = temporaryPath("midi.wav");
    CommandResult run = kirra("render " + out + " --sr 8000 --midi " + midi +
                              " --tempo 90 --position -4 --stopped");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("1 messages played"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("skipped: track 1"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("90.00 BPM from -4.00 quarter notes, stopped"), std::string::npos)
        << run.output;

    std::ofstream(midi, std::ios::binary) << "RIFF....WAVE";
    run = kirra("render " + out + " --midi " + midi);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("not a standard MIDI file"), std::string::npos) << run.output;
    EXPECT_EQ(kirra("render " + out + " --tempo 0").status, 2);
    EXPECT_EQ(kirra("render " + out + " --position x").status, 2);
    std::remove(midi.c_str());
    std::remove(out.c_str());
}
