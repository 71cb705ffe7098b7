#include "platform/Subprocess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

extern char** environ;

namespace platform {

namespace {

struct SpawnActions {
    posix_spawn_file_actions_t actions;
    bool valid;
    SpawnActions() { valid = posix_spawn_file_actions_init(&actions) == 0; }
    ~SpawnActions() {
        if (valid) posix_spawn_file_actions_destroy(&actions);
    }
};

void readAll(int fd, std::string& output, size_t maxOutput) {
    char buffer[4096];
    for (;;) {
        ssize_t got = ::read(fd, buffer, sizeof(buffer));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return;
        // Keep reading past the limit so the child never blocks on a full pipe.
        size_t room = maxOutput > output.size() ? maxOutput - output.size() : 0;
        output.append(buffer, static_cast<size_t>(got) < room ? static_cast<size_t>(got) : room);
    }
}

}  // namespace

int runProgram(const std::vector<std::string>& arguments, std::string& output, size_t maxOutput) {
    output.clear();
    if (arguments.empty() || arguments[0].empty()) return -1;
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return -1;
    SpawnActions spawn;
    bool prepared =
        spawn.valid &&
        posix_spawn_file_actions_addopen(&spawn.actions, 0, "/dev/null", O_RDONLY, 0) == 0 &&
        posix_spawn_file_actions_adddup2(&spawn.actions, pipeEnds[1], 1) == 0 &&
        posix_spawn_file_actions_addopen(&spawn.actions, 2, "/dev/null", O_WRONLY, 0) == 0;
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t child = -1;
    bool started = prepared && posix_spawn(&child, arguments[0].c_str(), &spawn.actions, nullptr,
                                           argv.data(), environ) == 0;
    ::close(pipeEnds[1]);
    if (started) readAll(pipeEnds[0], output, maxOutput);
    ::close(pipeEnds[0]);
    if (!started) return -1;
    int status = 0;
    pid_t waited;
    do {
        waited = ::waitpid(child, &status, 0);
    } while (waited < 0 && errno == EINTR);
    if (waited < 0) {
        // A host that ignores SIGCHLD reaps children itself; what was printed still counts.
        return output.empty() ? 1 : 0;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string findProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    if (path == nullptr || name.empty() || name.find('/') != std::string::npos) return {};
    std::string folders = path;
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        std::string folder = folders.substr(start, end - start);
        if (!folder.empty() && folder[0] == '/') {
            std::string candidate = folder + "/" + name;
            struct stat info {};
            if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
                ::access(candidate.c_str(), X_OK) == 0) {
                return candidate;
            }
        }
        start = end + 1;
    }
    return {};
}

}  // namespace platform
