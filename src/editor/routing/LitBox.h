#pragma once
// The look the routing pages give a choice: lit (light box, dark text) when chosen, a faint
// outline with dimmed text when not.

#include "gui/DrawContext.h"

namespace kirra::editor {

void drawLitBox(gui::DrawContext& context, const gui::Rect& rect, bool lit, const char* text);

}  // namespace kirra::editor
