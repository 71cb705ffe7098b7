#pragma once
// What the library page asks of the plug-in: the three banks' program names, the current
// program, program selection, the bank and preset files, the default banks, the clipboard and
// the user's named presets.

#include <string>
#include <vector>

#include "engine/FactoryBanks.h"
#include "engine/UserPresets.h"

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
    // Where a path typed in place of a file dialog starts: the last folder and a suggested name.
    virtual std::string suggestedPath(FileAction action, int bank) = 0;

    // Named presets in the user's preset folder; a load is one step of the edit history.
    virtual std::string currentProgramName() = 0;
    // Whether the page lists the user's presets, and the one selected: kept while the page is
    // rebuilt (a program change rebuilds it).
    struct UserPresetView {
        bool shown = false;
        std::string selected;
    };
    virtual UserPresetView& userPresetView() = 0;
    virtual std::string userPresetFolder() = 0;
    virtual std::vector<UserPresets::Entry> userPresets() = 0;
    virtual UserPresets::Result saveUserPreset(const std::string& name, bool replace) = 0;
    virtual UserPresets::Result loadUserPreset(const std::string& name) = 0;
    virtual UserPresets::Result renameUserPreset(const std::string& from, const std::string& to,
                                                 bool replace) = 0;
    virtual UserPresets::Result deleteUserPreset(const std::string& name) = 0;

  protected:
    ~LibraryOperations() = default;
};

}  // namespace kirra::editor
