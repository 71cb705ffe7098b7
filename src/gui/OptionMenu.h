#pragma once
// A control that shows one of several entries and, clicked, opens them as a modal list under
// itself. The value is the entry's index over the number of entries ((i + 0.5) / n).

#include <string>
#include <vector>

#include "gui/Control.h"
#include "gui/ListMenu.h"

namespace kirra::gui {

class OptionMenu : public Control {
  public:
    OptionMenu(const Rect& rect, ControlListener* listener, int tag,
               std::vector<std::string> entries, ListMenuStyle style);

    int getIndex() const;
    void setIndex(int index);
    const std::string& getEntry(int index) const { return entries_[index]; }
    int getEntryCount() const { return static_cast<int>(entries_.size()); }

    void draw(DrawContext& context) override;
    bool onMouseDown(const MouseEvent& event) override;

  private:
    std::vector<std::string> entries_;
    ListMenuStyle style_;
};

}  // namespace kirra::gui
