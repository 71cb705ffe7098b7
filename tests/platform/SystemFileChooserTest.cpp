// The desktop file dialog layer, driven against stand-in dialog programs placed in $PATH.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Subprocess.h"
#include "platform/SystemFileChooser.h"
#include "support/ConfigHome.h"

using namespace testing_support;
using platform::FileDialogRequest;
using platform::FileDialogResult;
using platform::SystemFileChooser;

namespace {

// A dialog program that logs its arguments one per line, prints $FAKE_ANSWER and exits with
// $FAKE_STATUS.
void installFakeDialog(const TemporaryFolder& folder, const std::string& name) {
    std::string path = folder.file(name);
    std::ofstream script(path);
    script
        << "#!/bin/sh\n"
           "for argument in \"$0\" \"$@\"; do printf '%s\\n' \"$argument\"; done > \"$FAKE_LOG\"\n"
           "printf '%s\\n' \"$FAKE_ANSWER\"\n"
           "exit \"$FAKE_STATUS\"\n";
    script.close();
    ::chmod(path.c_str(), 0755);
}

std::vector<std::string> loggedArguments(const std::string& log) {
    std::vector<std::string> lines;
    std::ifstream file(log);
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

FileDialogRequest saveRequest() {
    FileDialogRequest request;
    request.save = true;
    request.title = "Save preset";
    request.filterName = "Vantor Preset";
    request.extension = "vtp";
    request.directory = "/home/ü/My Presets";
    request.fileName = "Lead $(x); 1.vtp";
    return request;
}

}  // namespace

// Each part of the request is one argument, whatever characters it holds; no shell reads them.
TEST(SystemFileChooser, CommandLinesCarryTheRequest) {
    FileDialogRequest request = saveRequest();
    auto has = [](const std::vector<std::string>& arguments, const std::string& argument) {
        return std::find(arguments.begin(), arguments.end(), argument) != arguments.end();
    };
    const auto zenity = SystemFileChooser::zenityArguments(request);
    EXPECT_TRUE(has(zenity, "--save") && has(zenity, "--confirm-overwrite"));
    EXPECT_TRUE(has(zenity, "--filename=/home/ü/My Presets/Lead $(x); 1.vtp"));
    EXPECT_TRUE(has(zenity, "--file-filter=Vantor Preset | *.vtp"));
    request.save = false;
    EXPECT_TRUE(has(SystemFileChooser::kdialogArguments(request), "/home/ü/My Presets/"));
    request.directory.clear();
    EXPECT_TRUE(has(SystemFileChooser::kdialogArguments(request), "."));
    EXPECT_FALSE(has(SystemFileChooser::zenityArguments(request), "--save"));
    EXPECT_EQ(platform::withExtension("/a/b", "vtp"), "/a/b.vtp");
    EXPECT_EQ(platform::withExtension("/a/b.VTP", "vtp"), "/a/b.VTP");
}

TEST(SystemFileChooser, RunsTheDialogWithoutAShellOrReportsItUnavailable) {
    TemporaryFolder folder;
    installFakeDialog(folder, "zenity");
    installFakeDialog(folder, "kdialog");
    const std::string log = folder.file("log");
    ScopedEnvironment path("PATH", folder.path());
    ScopedEnvironment logVariable("FAKE_LOG", log);
    ScopedEnvironment answer("FAKE_ANSWER", "/tmp/dir with space/Pad ü");
    ScopedEnvironment status("FAKE_STATUS", "0");
    ScopedEnvironment desktop("XDG_CURRENT_DESKTOP", "GNOME");

    SystemFileChooser chooser;
    std::string chosen;
    ASSERT_EQ(chooser.choose(saveRequest(), chosen), FileDialogResult::kChosen);
    EXPECT_EQ(chosen, "/tmp/dir with space/Pad ü.vtp");
    std::vector<std::string> expected = {folder.file("zenity")};
    for (const std::string& argument : SystemFileChooser::zenityArguments(saveRequest()))
        expected.push_back(argument);
    EXPECT_EQ(loggedArguments(log), expected);

    {
        ScopedEnvironment kde("XDG_CURRENT_DESKTOP", "KDE");
        ASSERT_EQ(chooser.choose(saveRequest(), chosen), FileDialogResult::kChosen);
        EXPECT_EQ(loggedArguments(log).at(0), folder.file("kdialog"));
    }
    {
        ScopedEnvironment cancelled("FAKE_STATUS", "1");
        chosen = "unchanged";
        EXPECT_EQ(chooser.choose(saveRequest(), chosen), FileDialogResult::kCancelled);
        EXPECT_EQ(chosen, "unchanged");
    }
    {
        ScopedEnvironment broken("FAKE_STATUS", "5");
        EXPECT_EQ(chooser.choose(saveRequest(), chosen), FileDialogResult::kUnavailable);
    }
    // No dialog program at all: unavailable too.
    TemporaryFolder empty;
    ScopedEnvironment emptyPath("PATH", empty.path() + ":relative/folder");
    EXPECT_EQ(chooser.choose(saveRequest(), chosen), FileDialogResult::kUnavailable);
    EXPECT_EQ(platform::findProgram("sh"), "");
    std::string output;
    EXPECT_EQ(platform::runProgram({empty.file("missing")}, output), -1);
    EXPECT_EQ(platform::runProgram({}, output), -1);
}
