#pragma once
// What the library page asks of the plug-in: the three banks' program names, the current
// program, program selection, the bank and preset files, the default banks and the clipboard.

#include <string>

#include "engine/FactoryBanks.h"

namespace kirra::editor {

enum class FileAction { kLoadBank, kSaveBank, kLoadPreset, kSavePreset };

// The title of the dialog (or of the path field that stands in for it).
const char* fileActionTitle(FileAction action);

class LibraryOperations {
  public:
    static constexpr int kBanks = kFactoryBankCount;
    static constexpr int kPrograms = FactoryBank::kPrograms;

    virtual int currentBank() = 0;
    virtual int currentPreset() = 0;
    virtual std::string programName(int bank, int preset) = 0;
    virtual void selectProgram(int bank, int preset) = 0;
    // Asks the desktop's file dialog and acts on the answer; false when no dialog could be
    // shown, and the page then asks for a path itself. `bank` is ignored for presets.
    virtual bool fileDialog(FileAction action, int bank) = 0;
    virtual void fileAction(FileAction action, int bank, const std::string& path) = 0;
    virtual void saveDefaultBank(int bank) = 0;
    virtual void forgetDefaultBank(int bank) = 0;
    virtual void copyPreset() = 0;
    virtual void pastePreset() = 0;

  protected:
    ~LibraryOperations() = default;
};

}  // namespace kirra::editor
