#pragma once
// Runs the command-line host as a user does, through the shell.

#include <string>

namespace testing_support {

struct CommandResult {
    int status = -1;     // the exit status, -1 when it did not exit normally
    std::string output;  // standard output and errors together
};

CommandResult runKirraCommand(const std::string& arguments);
// The text as one shell word.
std::string shellQuoted(const std::string& text);

}  // namespace testing_support
