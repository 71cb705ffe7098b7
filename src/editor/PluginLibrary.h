#pragma once
// The library page's operations on a running plug-in: program names and selection through the
// program store. The file, default-bank and clipboard actions come with the per-user store and
// file dialogs; until then they leave everything as it is.

#include "editor/LibraryOperations.h"

namespace kirra {
class Plugin;
}

namespace kirra::editor {

class PluginLibrary : public LibraryOperations {
  public:
    explicit PluginLibrary(Plugin& plugin) : plugin_(plugin) {}

    int currentBank() override;
    int currentPreset() override;
    std::string programName(int bank, int preset) override;
    void selectProgram(int bank, int preset) override;
    void loadBank(int bank) override;
    void saveBank(int bank) override;
    void saveDefaultBank(int bank) override;
    void forgetDefaultBank(int bank) override;
    void loadPreset() override;
    void savePreset() override;
    void copyPreset() override;
    void pastePreset() override;

  private:
    Plugin& plugin_;
};

}  // namespace kirra::editor
