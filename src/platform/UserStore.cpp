#include "platform/UserStore.h"

#include <pwd.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/Files.h"

namespace platform {

namespace {

constexpr const char* kStoreFolder = "/Vantor/VantorKirra";

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return home;
    struct passwd entry {};
    struct passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::getuid(), &entry, buffer, sizeof(buffer), &found) == 0 && found != nullptr &&
        found->pw_dir != nullptr && found->pw_dir[0] == '/') {
        return found->pw_dir;
    }
    return {};
}

bool isPlainName(const char* name) {
    if (name == nullptr || name[0] == 0) return false;
    for (const char* c = name; *c != 0; ++c) {
        if (!std::isalnum(static_cast<unsigned char>(*c))) return false;
    }
    return true;
}

}  // namespace

UserStore::UserStore() : folder_(defaultFolder()) {}

UserStore::UserStore(std::string folder) : folder_(std::move(folder)) {}

std::string UserStore::defaultFolder() {
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the base-directory rules say.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') return std::string(config) + kStoreFolder;
    std::string home = homeFolder();
    if (home.empty()) return {};
    return home + "/.config" + kStoreFolder;
}

std::string UserStore::presetFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    const std::string below = std::string(kStoreFolder) + "/Presets";
    if (data != nullptr && data[0] == '/') return data + below;
    std::string home = homeFolder();
    if (home.empty()) return {};
    return home + "/.local/share" + below;
}

std::string UserStore::pathOf(const char* name) const {
    if (folder_.empty() || !isPlainName(name)) return {};
    return folder_ + "/" + name;
}

bool UserStore::readBinary(const char* name, size_t maxBytes, std::vector<uint8_t>& data) const {
    data.clear();
    std::string path = pathOf(name);
    // One byte more than allowed tells an oversized value from one of exactly the limit.
    if (path.empty() || !readFile(path, maxBytes + 1, data)) return false;
    if (data.size() > maxBytes) {
        data.clear();
        return false;
    }
    return true;
}

bool UserStore::readText(const char* name, size_t maxBytes, std::string& text) const {
    std::vector<uint8_t> data;
    if (!readBinary(name, maxBytes, data)) return false;
    // A text ends at its first zero byte, if any.
    size_t length = 0;
    while (length < data.size() && data[length] != 0)
        ++length;
    text.assign(reinterpret_cast<const char*>(data.data()), length);
    return true;
}

bool UserStore::writeBinary(const char* name, const void* data, size_t size) const {
    std::string path = pathOf(name);
    if (path.empty() || !makeDirectories(folder_)) return false;
    return writeFileAtomically(path, data, size);
}

bool UserStore::writeText(const char* name, const std::string& text) const {
    return writeBinary(name, text.data(), text.size());
}

bool UserStore::remove(const char* name) const {
    std::string path = pathOf(name);
    return !path.empty() && removeFile(path);
}

}  // namespace platform
