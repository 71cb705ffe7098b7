// The host's program commands, run as a user runs them.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/ConfigHome.h"
#include "support/HostCommand.h"

using namespace testing_support;

TEST(ProgramCommands, ListsAndSelectsPrograms) {
    CommandResult all = runKirraCommand("programs");
    ASSERT_EQ(all.status, 0) << all.output;
    EXPECT_EQ(std::count(all.output.begin(), all.output.end(), '\n'), 192);
    EXPECT_NE(all.output.find("A:1   * [flat]\n"), std::string::npos);
    EXPECT_NE(all.output.find("C:64    Good Bye\n"), std::string::npos);

    CommandResult selected = runKirraCommand("programs --program c:20");
    EXPECT_NE(selected.output.find("C:20  * Hall Reverb\n"), std::string::npos);
    CommandResult info = runKirraCommand("info --program 3:2");
    ASSERT_EQ(info.status, 0) << info.output;
    EXPECT_NE(info.output.find("program:         LP Filter 12/24dB LFO\n"), std::string::npos);
    // What the effect record declares is checked through the binary; here, that it is shown.
    EXPECT_NE(info.output.find("\"VnKr\""), std::string::npos);
    EXPECT_NE(info.output.find("OP4->OUT"), std::string::npos);
    for (const char* bad : {"D:1", "A:0", "A:65", "A20", "A:1.5"}) {
        EXPECT_EQ(runKirraCommand(std::string("programs --program ") + bad).status, 2) << bad;
    }
}

TEST(ProgramCommands, SavedPresetsAndBanksLoadBackByteExactly) {
    TemporaryFolder folder;
    const std::string preset = shellQuoted(folder.file("edited preset ü.vtp"));
    const std::string again = shellQuoted(folder.file("again.vtp"));
    const std::string bank = shellQuoted(folder.file("bank.vtb"));
    ASSERT_EQ(
        runKirraCommand("save-preset " + preset + " --set 'OP1 type=0.22' --set Mix=0.3").status,
        0);
    ASSERT_EQ(runKirraCommand("save-preset " + again + " --program B:7 --preset " + preset).status,
              0);
    EXPECT_EQ(readBytes(folder.file("again.vtp")), readBytes(folder.file("edited preset ü.vtp")));

    ASSERT_EQ(runKirraCommand("save-bank " + bank + " --program B:7 --preset " + preset).status, 0);
    // Loaded into bank C, whose program 1 (bank B's first program) is then current; program 7
    // holds the preset.
    ASSERT_EQ(runKirraCommand("save-preset " + again + " --program C:7 --bank " + bank).status, 0);
    EXPECT_EQ(readBytes(folder.file("again.vtp")), readBytes(folder.file("edited preset ü.vtp")));
    CommandResult listed = runKirraCommand("programs --program C:1 --bank " + bank);
    EXPECT_NE(listed.output.find("C:1   * Bar Filter Sweep\n"), std::string::npos);

    // (File sizes and files of the wrong kind are program library tests.)
    EXPECT_EQ(runKirraCommand("programs --preset " + bank).status, 1);
    EXPECT_EQ(runKirraCommand("save-preset").status, 2);
}
