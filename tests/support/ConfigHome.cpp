#include "support/ConfigHome.h"

#include <dirent.h>
#include <ftw.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <utility>

namespace testing_support {

namespace {

int removeEntry(const char* path, const struct stat*, int, struct FTW*) {
    return ::remove(path);
}

void removeTree(const std::string& path) {
    if (!path.empty()) ::nftw(path.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

// The whole test process runs with a configuration folder of its own, and at the desktop scale
// of 100 %, whatever the machine's desktop asks (the editor follows it without a stored zoom).
struct ProcessConfigHome {
    TemporaryFolder folder;
    ProcessConfigHome() {
        ::setenv("XDG_CONFIG_HOME", folder.path().c_str(), 1);
        ::setenv("XDG_DATA_HOME", (folder.path() + "/data").c_str(), 1);
        ::setenv("GDK_SCALE", "1", 1);
    }
};
const ProcessConfigHome processConfigHome;

}  // namespace

TemporaryFolder::TemporaryFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && base[0] == '/' ? base : "/tmp") + "/kirra-test-XXXXXX";
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
    removeTree(path_);
}

ScopedEnvironment::ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
    const char* previous = std::getenv(name);
    hadValue_ = previous != nullptr;
    if (hadValue_) previous_ = previous;
    ::setenv(name, value.c_str(), 1);
}

ScopedEnvironment::~ScopedEnvironment() {
    if (hadValue_) {
        ::setenv(name_, previous_.c_str(), 1);
    } else {
        ::unsetenv(name_);
    }
}

std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

void reverseWords(std::vector<uint8_t>& bytes, size_t from, size_t to) {
    for (size_t at = from; at + 4 <= to; at += 4) {
        std::swap(bytes[at], bytes[at + 3]);
        std::swap(bytes[at + 1], bytes[at + 2]);
    }
}

std::vector<std::string> listFolder(const std::string& path) {
    std::vector<std::string> names;
    DIR* folder = ::opendir(path.c_str());
    if (folder == nullptr) return names;
    while (struct dirent* entry = ::readdir(folder)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(folder);
    return names;
}

}  // namespace testing_support
