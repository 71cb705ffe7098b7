#pragma once
// The preset library: the programs of the shown bank as a scrolling list ("NO", "PRESET NAME",
// fifteen lines), and the bank and preset actions beside it. The shown bank is chosen with
// "A", "B", "C"; a click on a line makes that program current; "BANK" LOAD, SAVE and DFLT
// (control-click: forget the default) act on the shown bank; "PRESET" LOAD, SAVE, COPY and PASTE
// on the current program. "U" lists the user's named presets instead, sorted by name: a click
// loads one, and the bank's actions become SAVE AS, RENAME and DELETE.

#include <functional>
#include <string>
#include <vector>

#include "editor/LibraryOperations.h"
#include "gui/Control.h"
#include "gui/ScrollBar.h"

namespace kirra::editor {

class CLibWnd : public gui::Control {
  public:
    static constexpr int kVisibleLines = 15;
    static constexpr int kLineHeight = 10;

    enum Action {
        kBankA,
        kBankB,
        kBankC,
        kUserPresets,
        kBankLoad,
        kBankSave,
        kBankDefault,
        kPresetLoad,
        kPresetSave,
        kPresetCopy,
        kPresetPaste,
        kActionCount
    };

    // The shown "bank" that lists the user's presets.
    static constexpr int kUserBank = LibraryOperations::kBanks;

    CLibWnd(const gui::Rect& rect, LibraryOperations& operations);

    int getShownBank() const { return shownBank_; }
    void showBank(int bank);
    int getFirstVisible() const { return scroll_.first(); }
    void scrollTo(int first);
    // Scrolls the current program into view when it lies in the shown bank.
    void revealCurrent();
    gui::Rect actionRect(Action action) const;
    gui::Rect lineRect(int visibleIndex) const;
    bool showsUserPresets() const { return shownBank_ == kUserBank; }
    const std::vector<UserPresets::Entry>& userPresets() const { return userPresets_; }
    // The user preset last clicked, which RENAME and DELETE act on; empty for none.
    const std::string& selectedUserPreset() const { return operations_.userPresetView().selected; }
    // Reads the user's preset folder again.
    void refreshUserPresets();

    void draw(gui::DrawContext& context) override;
    bool onMouseDown(const gui::MouseEvent& event) override;
    void onMouseMoved(const gui::MouseEvent& event) override;
    void onMouseUp(const gui::MouseEvent& event) override;
    bool onWheel(const gui::MouseEvent& event, float steps) override;

  private:
    void perform(Action action, bool withControl);
    // The desktop's file dialog, or a path field in its place.
    void runFileAction(FileAction action);
    void drawActions(gui::DrawContext& context);
    void drawLine(gui::DrawContext& context, int visibleIndex, const std::string& number,
                  const std::string& name, bool highlighted, bool dimmed);
    int lineCount() const;
    void lineClicked(int index);
    // The user presets' actions, their questions and their refusals.
    void performUserAction(Action action);
    void askName(const char* title, const std::string& initial,
                 std::function<void(const std::string&)> onName);
    void saveUserPreset(const std::string& name, bool replace);
    void renameUserPreset(const std::string& from, const std::string& to, bool replace);
    // Says what went wrong, or refreshes the list when all went well.
    void report(UserPresets::Result result, const std::string& name);
    void tell(const std::string& text, std::function<void()> onYes = {});
    gui::Rect boxRect(int height) const;

    LibraryOperations& operations_;
    gui::Rect listRect_;
    gui::Rect actionsRect_;
    gui::ScrollBar scroll_;
    int shownBank_ = 0;
    std::vector<UserPresets::Entry> userPresets_;
};

}  // namespace kirra::editor
