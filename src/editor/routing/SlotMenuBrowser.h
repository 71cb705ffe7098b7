#pragma once
// The source and destination menus of the modulation-slot window, shown in the window in place
// of its list: the menu of each level built from the modules now in the slots, moving between
// levels, choosing, controller learn from the controller level, scrolling and drawing.
//
// It is part of the window (CCordWnd), not a view of its own: the window hands it the events
// while a menu is open, and it draws into the window's rectangle and asks the window to redraw.

#include <string>

#include "editor/routing/SlotMenu.h"
#include "gui/DrawContext.h"
#include "gui/Events.h"
#include "gui/ScrollBar.h"

namespace kirra {
class Plugin;
}

namespace kirra::editor {

class CCordWnd;
class SlotEditing;

class SlotMenuBrowser {
  public:
    // What a click on the menu led to.
    enum class Click { kHandled, kChosen };

    SlotMenuBrowser(CCordWnd& window, Plugin& plugin, SlotEditing& editing);

    void open(int slot, MenuLevel level);
    // Back to the list; a controller learn started here stops.
    void close();
    bool isOpen() const { return open_; }
    int getSlot() const { return slot_; }
    const SlotMenu& menu() const { return menu_; }
    std::string title() const;
    // Builds the open level again, at the same scroll position (the modules may have changed).
    void rebuild();
    // Controller learn found the slot's source: the controller level waiting for it closes.
    void sourceLearned(int slot);
    void stopLearning();

    void scrollTo(int firstLine);
    int getFirstLine() const { return scroll_.first(); }
    int getVisibleLines() const;
    const gui::ScrollBar& scrollBar() const { return scroll_; }
    // A line of the menu, or an empty rectangle when it is scrolled out of view or closed.
    gui::Rect lineRect(int line) const;
    gui::Rect exitRect() const;
    // Only in the controller list.
    gui::Rect learnRect() const;

    Click mouseDown(const gui::MouseEvent& event);
    void mouseMoved(const gui::MouseEvent& event);
    void mouseUp() { scroll_.mouseUp(); }
    void draw(gui::DrawContext& context);

  private:
    gui::Rect area() const;
    int lineAt(gui::Point where) const;
    void enterLevel(MenuLevel level, int moduleSlot);
    Click activate(const MenuEntry& entry);
    void chooseSource(int source);
    int currentChoice() const;

    CCordWnd& window_;
    Plugin& plugin_;
    SlotEditing& editing_;
    bool open_ = false;
    int slot_ = 0;
    SlotMenu menu_;
    gui::ScrollBar scroll_;
    int hoverLine_ = -1;
};

}  // namespace kirra::editor
