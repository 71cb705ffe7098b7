#pragma once
// The library page's operations on a running plug-in, through its program store and its
// program library (files, default banks, clipboard), with the desktop's file dialogs.

#include "editor/LibraryOperations.h"
#include "platform/FileChooser.h"

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

  private:
    Plugin& plugin_;
    platform::FileChooser& chooser_;
};

}  // namespace kirra::editor
