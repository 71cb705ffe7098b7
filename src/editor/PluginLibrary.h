#pragma once
// The library page's operations on a running plug-in, through its program store and its
// program library (files, default banks, clipboard), with the desktop's file dialogs.

#include "editor/LibraryOperations.h"
#include "platform/FileChooser.h"
#include "platform/UserStore.h"

namespace kirra {
class Plugin;
}

namespace kirra::editor {

class PluginLibrary : public LibraryOperations {
  public:
    PluginLibrary(Plugin& plugin, platform::FileChooser& chooser)
        : plugin_(plugin), chooser_(chooser) {}

    int currentBank() override;
    int currentPreset() override;
    std::string programName(int bank, int preset) override;
    void selectProgram(int bank, int preset) override;
    bool fileDialog(FileAction action, int bank) override;
    void fileAction(FileAction action, int bank, const std::string& path) override;
    void saveDefaultBank(int bank) override;
    void forgetDefaultBank(int bank) override;
    void copyPreset() override;
    void pastePreset() override;
    std::string suggestedPath(FileAction action, int bank) override;
    std::string currentProgramName() override;
    UserPresetView& userPresetView() override { return userPresetView_; }
    std::string userPresetFolder() override { return userPresets_.folder(); }
    std::vector<UserPresets::Entry> userPresets() override { return userPresets_.list(); }
    UserPresets::Result saveUserPreset(const std::string& name, bool replace) override;
    UserPresets::Result loadUserPreset(const std::string& name) override;
    UserPresets::Result renameUserPreset(const std::string& from, const std::string& to,
                                         bool replace) override {
        return userPresets_.rename(from, to, replace);
    }
    UserPresets::Result deleteUserPreset(const std::string& name) override {
        return userPresets_.remove(name);
    }

  private:
    Plugin& plugin_;
    platform::FileChooser& chooser_;
    UserPresets userPresets_{platform::UserStore::presetFolder()};
    UserPresetView userPresetView_;
};

}  // namespace kirra::editor
