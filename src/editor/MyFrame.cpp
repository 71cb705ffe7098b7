#include "editor/MyFrame.h"

namespace kirra::editor {

void MyFrame::draw(gui::DrawContext& context) {
    context.drawImage(skin_.background(), 0, 0, getRect());
}

}  // namespace kirra::editor
