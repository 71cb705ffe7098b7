#include "engine/UserPresets.h"

#include <dirent.h>
#include <sys/stat.h>

#include <strings.h>
#include <algorithm>
#include <cstdio>

#include "engine/ProgramImages.h"
#include "engine/ProgramStore.h"
#include "platform/Files.h"

namespace kirra {

namespace {

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool isValidImage(const std::vector<uint8_t>& image) {
    Program program;
    return readPresetImage(image.data(), image.size(), program);
}

}  // namespace

bool UserPresets::isValidName(const std::string& name) {
    if (name.empty() || static_cast<int>(name.size()) > kMaxNameLength) return false;
    bool onlySpaces = true;
    for (char c : name) {
        const auto code = static_cast<unsigned char>(c);
        if (c == '/' || code < 32 || code == 127) return false;
        onlySpaces = onlySpaces && c == ' ';
    }
    // "." and ".." name folders, not files.
    return !onlySpaces && name != "." && name != "..";
}

std::string UserPresets::pathOf(const std::string& name) const {
    return folder_ + "/" + name + kExtension;
}

bool UserPresets::exists(const std::string& name) const {
    struct stat info {};
    return isValidName(name) && ::stat(pathOf(name).c_str(), &info) == 0;
}

std::vector<UserPresets::Entry> UserPresets::list() const {
    std::vector<Entry> entries;
    DIR* folder = folder_.empty() ? nullptr : ::opendir(folder_.c_str());
    if (folder == nullptr) return entries;
    const std::string extension = kExtension;
    while (const dirent* item = ::readdir(folder)) {
        const std::string file = item->d_name;
        if (!endsWith(file, extension)) continue;
        Entry entry;
        entry.name = file.substr(0, file.size() - extension.size());
        if (!isValidName(entry.name)) continue;
        std::vector<uint8_t> image;
        entry.readable = read(entry.name, image) == Result::kDone;
        entries.push_back(std::move(entry));
    }
    ::closedir(folder);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        const int folded = ::strcasecmp(a.name.c_str(), b.name.c_str());
        return folded != 0 ? folded < 0 : a.name < b.name;
    });
    return entries;
}

UserPresets::Result UserPresets::save(const std::string& name, const uint8_t* image, size_t size,
                                      bool replace) {
    if (!isValidName(name)) return Result::kBadName;
    if (!replace && exists(name)) return Result::kExists;
    if (folder_.empty() || !platform::makeDirectories(folder_)) return Result::kUnwritable;
    return platform::writeFileAtomically(pathOf(name), image, size) ? Result::kDone
                                                                    : Result::kUnwritable;
}

UserPresets::Result UserPresets::read(const std::string& name, std::vector<uint8_t>& image) const {
    image.clear();
    if (!isValidName(name)) return Result::kBadName;
    if (!exists(name)) return Result::kMissing;
    // One byte more than a preset tells a longer file from a whole one.
    if (!platform::readFile(pathOf(name), kPresetImageBytes + 1, image) ||
        image.size() != kPresetImageBytes || !isValidImage(image)) {
        image.clear();
        return Result::kUnreadable;
    }
    return Result::kDone;
}

UserPresets::Result UserPresets::rename(const std::string& from, const std::string& to,
                                        bool replace) {
    if (!isValidName(from) || !isValidName(to)) return Result::kBadName;
    if (!exists(from)) return Result::kMissing;
    if (from == to) return Result::kDone;
    if (!replace && exists(to)) return Result::kExists;
    return std::rename(pathOf(from).c_str(), pathOf(to).c_str()) == 0 ? Result::kDone
                                                                      : Result::kUnwritable;
}

UserPresets::Result UserPresets::remove(const std::string& name) {
    if (!isValidName(name)) return Result::kBadName;
    if (!exists(name)) return Result::kMissing;
    return platform::removeFile(pathOf(name)) ? Result::kDone : Result::kUnwritable;
}

}  // namespace kirra
