#pragma once
// Draws the editor's texts in its two colours: normal (light on the dark face), highlighted
// (dark on a light box) and dimmed (for captions and greyed entries).

#include "editor/Skin.h"
#include "gui/DrawContext.h"

namespace kirra::editor {

class CTextPrinter {
  public:
    enum class Style { kNormal, kHighlighted, kDimmed };

    static void print(gui::DrawContext& context, const char* text, const gui::Rect& box,
                      gui::Align align, Style style = Style::kNormal,
                      gui::Font font = Skin::textFont());
};

}  // namespace kirra::editor
