#pragma once
// The preset library: the programs of the shown bank as a scrolling list ("NO", "PRESET NAME",
// fifteen lines), and the bank and preset actions beside it. The shown bank is chosen with
// "A", "B", "C"; a click on a line makes that program current; "BANK" LOAD, SAVE and DFLT
// (control-click: forget the default) act on the shown bank; "PRESET" LOAD, SAVE, COPY and PASTE
// on the current program.

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
        kBankLoad,
        kBankSave,
        kBankDefault,
        kPresetLoad,
        kPresetSave,
        kPresetCopy,
        kPresetPaste,
        kActionCount
    };

    CLibWnd(const gui::Rect& rect, LibraryOperations& operations);

    int getShownBank() const { return shownBank_; }
    void showBank(int bank);
    int getFirstVisible() const { return scroll_.first(); }
    void scrollTo(int first);
    // Scrolls the current program into view when it lies in the shown bank.
    void revealCurrent();
    gui::Rect actionRect(Action action) const;
    gui::Rect lineRect(int visibleIndex) const;

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

    LibraryOperations& operations_;
    gui::Rect listRect_;
    gui::Rect actionsRect_;
    gui::ScrollBar scroll_;
    int shownBank_ = 0;
};

}  // namespace kirra::editor
