// The host's program commands, run as a user runs them.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/ConfigHome.h"

using namespace testing_support;

namespace {

struct HostRun {
    int status = -1;
    std::string output;
};

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (char c : text)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

HostRun runKirra(const std::string& arguments) {
    HostRun run;
    std::string command = quoted(KIRRA_HOST_PATH) + " " + arguments + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0)
        run.output.append(buffer, got);
    int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

int countLines(const std::string& text) {
    int lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

}  // namespace

TEST(ProgramCommands, ListsAndSelectsPrograms) {
    HostRun all = runKirra("programs");
    ASSERT_EQ(all.status, 0) << all.output;
    EXPECT_EQ(countLines(all.output), 192);
    EXPECT_NE(all.output.find("A:1   * [flat]\n"), std::string::npos);
    EXPECT_NE(all.output.find("C:64    Good Bye\n"), std::string::npos);

    HostRun selected = runKirra("programs --program c:20");
    EXPECT_NE(selected.output.find("C:20  * Hall Reverb\n"), std::string::npos);
    HostRun info = runKirra("info --program 3:2");
    EXPECT_NE(info.output.find("program:         LP Filter 12/24dB LFO\n"), std::string::npos);
    for (const char* bad : {"D:1", "A:0", "A:65", "A20", "A:1.5"}) {
        EXPECT_EQ(runKirra(std::string("programs --program ") + bad).status, 2) << bad;
    }
}

TEST(ProgramCommands, SavedPresetsAndBanksLoadBackByteExactly) {
    TemporaryFolder folder;
    const std::string preset = quoted(folder.file("edited preset ü.vtp"));
    const std::string again = quoted(folder.file("again.vtp"));
    const std::string bank = quoted(folder.file("bank.vtb"));
    ASSERT_EQ(runKirra("save-preset " + preset + " --set 'OP1 type=0.22' --set Mix=0.3").status, 0);
    EXPECT_EQ(readBytes(folder.file("edited preset ü.vtp")).size(), 1701u);
    ASSERT_EQ(runKirra("save-preset " + again + " --program B:7 --preset " + preset).status, 0);
    EXPECT_EQ(readBytes(folder.file("again.vtp")), readBytes(folder.file("edited preset ü.vtp")));

    ASSERT_EQ(runKirra("save-bank " + bank + " --program B:7 --preset " + preset).status, 0);
    EXPECT_EQ(readBytes(folder.file("bank.vtb")).size(), 108045u);
    // Loaded into bank C, whose program 1 (bank B's first program) is then current; program 7
    // holds the preset.
    ASSERT_EQ(runKirra("save-preset " + again + " --program C:7 --bank " + bank).status, 0);
    EXPECT_EQ(readBytes(folder.file("again.vtp")), readBytes(folder.file("edited preset ü.vtp")));
    HostRun listed = runKirra("programs --program C:1 --bank " + bank);
    EXPECT_NE(listed.output.find("C:1   * Bar Filter Sweep\n"), std::string::npos);

    EXPECT_EQ(runKirra("programs --preset " + bank).status, 1);
    EXPECT_EQ(runKirra("programs --bank " + preset).status, 1);
    EXPECT_EQ(runKirra("programs --preset " + quoted(folder.file("missing.vtp"))).status, 1);
    EXPECT_EQ(runKirra("save-preset").status, 2);
}
