#pragma once
// The operations behind the editor's library page: preset and bank files, default banks and the
// clipboard in the per-user store, and the file dialogs with the folder and names they
// remember. Bad files and values are ignored silently and leave the state as it was; the
// answers only say whether anything was done.

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/Preferences.h"
#include "platform/FileChooser.h"
#include "platform/UserStore.h"

namespace kirra {

class Plugin;

class ProgramLibrary {
  public:
    ProgramLibrary(Plugin& plugin, platform::UserStore store);

    // Start-up reads the preferences, then (once the factory banks are in place) replaces
    // each bank that the user saved as default; the preferences are saved at the end.
    void loadPreferences();
    void loadDefaultBanks();
    void savePreferences();
    Preferences& getPreferences() { return preferences_; }
    const platform::UserStore& getStore() const { return store_; }

    // A preset is applied to the current program; a bank loaded into the current bank selects
    // its program 1.
    bool loadPresetFile(const std::string& path);
    bool savePresetFile(const std::string& path);
    bool loadBankFile(int bank, const std::string& path);
    bool saveBankFile(int bank, const std::string& path);

    // The same behind the desktop's file dialogs.
    platform::FileDialogResult loadPreset(platform::FileChooser& chooser);
    platform::FileDialogResult savePreset(platform::FileChooser& chooser);
    platform::FileDialogResult loadBank(int bank, platform::FileChooser& chooser);
    platform::FileDialogResult saveBank(int bank, platform::FileChooser& chooser);

    // The last folder and a name for a path typed where no file dialog exists: the name last
    // used, else (saving a preset) the program's name. `bank` -1 means a preset.
    std::string suggestedPath(bool save, int bank) const;

    // A default bank replaces the factory bank at every start until it is forgotten.
    bool saveDefaultBank(int bank);
    bool forgetDefaultBank(int bank);
    // The clipboard holds one program for every instance of the user.
    bool copyProgram();
    bool pasteProgram();

    // The preset image of the current state (kPresetImageBytes) and a bank's image
    // (kBankImageBytes), and their application.
    void makePresetImage(uint8_t* image);
    void makeBankImage(int bank, uint8_t* image);
    bool applyPresetImage(const uint8_t* data, size_t size);
    bool applyBankImage(int bank, const uint8_t* data, size_t size);

  private:
    platform::FileDialogRequest request(bool save, bool bank) const;
    // Asks for a file and saves or loads it; bank -1 means a preset.
    platform::FileDialogResult runDialog(platform::FileChooser& chooser, bool save, int bank);

    Plugin& plugin_;
    platform::UserStore store_;
    Preferences preferences_;
};

}  // namespace kirra
