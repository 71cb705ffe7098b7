#pragma once
// The user's named presets: one preset file per name in the user's preset folder, each the
// same preset image a preset file holds anywhere, so that it loads wherever a preset loads.
// Writes are atomic (a temporary file renamed over the target), so two instances saving the
// same name at once leave one whole file. Files that do not hold a valid preset image are
// listed as unreadable and never loaded.

#include <cstdint>
#include <string>
#include <vector>

namespace kirra {

class UserPresets {
  public:
    static constexpr int kMaxNameLength = 24;  // a program name
    static constexpr const char* kExtension = ".vtp";

    struct Entry {
        std::string name;
        bool readable = false;
    };
    enum class Result {
        kDone,
        kBadName,     // empty, only spaces, too long, or holding '/' or control characters
        kExists,      // the name is taken and replacing was not asked for
        kMissing,     // no preset of that name
        kUnreadable,  // not a valid preset image
        kUnwritable,  // the folder could not be made or written
    };

    explicit UserPresets(std::string folder) : folder_(std::move(folder)) {}

    const std::string& folder() const { return folder_; }
    static bool isValidName(const std::string& name);
    bool exists(const std::string& name) const;
    // Sorted by name, letters compared without case.
    std::vector<Entry> list() const;
    // Creates the folder when it is missing.
    Result save(const std::string& name, const uint8_t* image, size_t size, bool replace);
    Result read(const std::string& name, std::vector<uint8_t>& image) const;
    Result rename(const std::string& from, const std::string& to, bool replace);
    Result remove(const std::string& name);

  private:
    std::string pathOf(const std::string& name) const;

    std::string folder_;
};

}  // namespace kirra
