#pragma once
// What an instance remembers for the next one: the folder last used in a file dialog and the
// last preset and bank file names, kept as "CurrDir", "CurrPreset" and "CurrBank" in the
// per-user store.

#include <cstddef>
#include <string>

#include "platform/UserStore.h"

namespace kirra {

class Preferences {
  public:
    // Longest texts kept, in bytes; longer ones (a cut path would be a wrong path) are ignored.
    static constexpr size_t kDirectoryBytes = 1023;
    static constexpr size_t kFileNameBytes = 511;

    // Reads what the store holds; missing or oversized values leave the current ones.
    void load(const platform::UserStore& store);
    // Writes the values that changed since they were read, so that an instance that changed
    // nothing never overwrites what another one saved meanwhile.
    void save(const platform::UserStore& store);

    const std::string& getDirectory() const { return directory_; }
    const std::string& getPresetFileName() const { return presetFileName_; }
    const std::string& getBankFileName() const { return bankFileName_; }

    // Splits a path chosen in a file dialog into the remembered folder and file name.
    void rememberPresetPath(const std::string& path);
    void rememberBankPath(const std::string& path);

  private:
    void remember(const std::string& path, std::string& fileName, bool& fileNameChanged);

    std::string directory_;
    std::string presetFileName_;
    std::string bankFileName_;
    bool directoryChanged_ = false;
    bool presetChanged_ = false;
    bool bankChanged_ = false;
};

}  // namespace kirra
