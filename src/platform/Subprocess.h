#pragma once
// Runs a program without a shell (so no text is ever interpreted as shell syntax), with no
// input, its errors discarded, and collects what it prints.

#include <string>
#include <vector>

namespace platform {

// Runs arguments[0] (an absolute path) with the given arguments and waits for it. Answers its
// exit status, or -1 when it could not be started or did not exit normally. At most maxOutput
// bytes of its output are kept.
int runProgram(const std::vector<std::string>& arguments, std::string& output,
               size_t maxOutput = 65536);

// The absolute path of an executable found in $PATH, or empty.
std::string findProgram(const std::string& name);

}  // namespace platform
