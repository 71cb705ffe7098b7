#include "support/HostCommand.h"

#include <sys/wait.h>

#include <cstdio>

namespace testing_support {

std::string shellQuoted(const std::string& text) {
    std::string result = "'";
    for (char c : text)
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

CommandResult runShell(const std::string& line) {
    CommandResult run;
    FILE* pipe = ::popen(line.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof(buffer), pipe)) > 0)
        run.output.append(buffer, got);
    int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

CommandResult runKirraCommand(const std::string& arguments) {
    return runShell(shellQuoted(KIRRA_HOST_PATH) + " " + arguments + " 2>&1");
}

}  // namespace testing_support
