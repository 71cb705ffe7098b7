#pragma once
// Draws the editor's texts in its two colours: normal (light on the dark face), highlighted
// (dark on a light box), dimmed (captions and names) and greyed (what is unavailable).

#include "editor/Skin.h"
#include "gui/DrawContext.h"

namespace kirra::editor {

class CTextPrinter {
  public:
    // Dimmed: names and captions; greyed: what is unavailable or locked.
    enum class Style { kNormal, kHighlighted, kDimmed, kGreyed };

    static void print(gui::DrawContext& context, const char* text, const gui::Rect& box,
                      gui::Align align, Style style = Style::kNormal,
                      gui::Font font = Skin::textFont());
};

}  // namespace kirra::editor
