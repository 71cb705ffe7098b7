#include "editor/MyFrame.h"

namespace kirra::editor {

MyFrame::MyFrame(int width, int height, double zoom) : Frame(width, height), skin_(zoom) {
    setZoom(zoom);
    gui::TooltipStyle style;
    style.font = Skin::textFont();
    style.text = Skin::kLight;
    style.background = Skin::kShade;
    style.border = Skin::kLight.withAlpha(120);
    setTooltipStyle(style);
}

void MyFrame::changeZoom(double zoom) {
    if (zoom == this->zoom()) return;
    skin_ = Skin(zoom);
    setZoom(zoom);
}

void MyFrame::draw(gui::DrawContext& context) {
    context.drawImage(skin_.background(), 0, 0, getRect());
    for (const gui::TextDrawn& text : skin_.backgroundTexts())
        context.reportText(text);
}

}  // namespace kirra::editor
