#pragma once
// Runs the command-line host, or any other program, as a user does: through the shell.

#include <string>

namespace testing_support {

struct CommandResult {
    int status = -1;     // the exit status, -1 when it did not exit normally
    std::string output;  // standard output and errors together
};

// A shell command line; what it writes where the line does not redirect it is the output.
CommandResult runShell(const std::string& line);
CommandResult runKirraCommand(const std::string& arguments);
// The text as one shell word.
std::string shellQuoted(const std::string& text);

}  // namespace testing_support
