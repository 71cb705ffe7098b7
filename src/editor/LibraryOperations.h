#pragma once
// What the library page asks of the plug-in: the three banks' program names, the current
// program, program selection, and the bank and preset file, default-bank and clipboard actions.

#include <string>

namespace kirra::editor {

class LibraryOperations {
  public:
    static constexpr int kBanks = 3;
    static constexpr int kPrograms = 64;

    virtual int currentBank() = 0;
    virtual int currentPreset() = 0;
    virtual std::string programName(int bank, int preset) = 0;
    virtual void selectProgram(int bank, int preset) = 0;
    virtual void loadBank(int bank) = 0;
    virtual void saveBank(int bank) = 0;
    virtual void saveDefaultBank(int bank) = 0;
    virtual void forgetDefaultBank(int bank) = 0;
    virtual void loadPreset() = 0;
    virtual void savePreset() = 0;
    virtual void copyPreset() = 0;
    virtual void pastePreset() = 0;

  protected:
    ~LibraryOperations() = default;
};

}  // namespace kirra::editor
