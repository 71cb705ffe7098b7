#pragma once
// What the library page's modal boxes share: their look, texts of up to two lines, and closing
// from inside their own handlers.

#include <string>

#include "editor/CTextPrinter.h"
#include "gui/View.h"

namespace kirra::editor {

// A recessed area with a light frame.
void drawModalFrame(gui::DrawContext& context, const gui::Rect& rect);
// The text's lines (a '\n' starts the second), each `lineHeight` high from `first` down.
void printTwoLines(gui::DrawContext& context, const std::string& text, const gui::Rect& first,
                   int lineHeight, CTextPrinter::Style style, const gui::Font& font);
// Takes the keys and the modal place from the view; it is destroyed later, so this is safe
// from its own handlers.
void closeModalView(gui::View& view);

}  // namespace kirra::editor
