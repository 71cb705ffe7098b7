#pragma once
// The per-user store of settings shared by every instance of the same user: one file per value
// name in Vantor/VantorKirra/ under the user's configuration folder ($XDG_CONFIG_HOME, else
// ~/.config). Binary values are raw bytes, texts UTF-8. Every write is atomic, so a crash or a
// full disk keeps the previous value.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class UserStore {
  public:
    // The folder of the current user, found from the environment.
    UserStore();
    // A store in the given folder.
    explicit UserStore(std::string folder);

    // Empty when the user has no configuration folder at all; every operation then fails.
    const std::string& folder() const { return folder_; }

    // False when the value is missing, unreadable or larger than maxBytes.
    bool readBinary(const char* name, size_t maxBytes, std::vector<uint8_t>& data) const;
    bool readText(const char* name, size_t maxBytes, std::string& text) const;
    // Creates the folder when needed; false when the value could not be stored.
    bool writeBinary(const char* name, const void* data, size_t size) const;
    bool writeText(const char* name, const std::string& text) const;
    // True when the value is gone afterwards.
    bool remove(const char* name) const;

    // $XDG_CONFIG_HOME/Vantor/VantorKirra, or the same under ~/.config; empty without a home.
    static std::string defaultFolder();
    // The user's named presets: $XDG_DATA_HOME/Vantor/VantorKirra/Presets, or the same under
    // ~/.local/share; empty without a home.
    static std::string presetFolder();

  private:
    // The file of a value; empty for names that are not plain words (no path tricks).
    std::string pathOf(const char* name) const;

    std::string folder_;
};

}  // namespace platform
