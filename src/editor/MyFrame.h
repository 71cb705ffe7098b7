#pragma once
// The editor's top-level frame: owns the skin (rendered when the frame is built, that is at every
// open, and again when the zoom changes) and draws the background under all views.

#include "editor/Skin.h"
#include "gui/Frame.h"

namespace kirra::editor {

class MyFrame : public gui::Frame {
  public:
    MyFrame(int width, int height, double zoom);
    // Paints the skin again for the zoom; the views stay as they are.
    void changeZoom(double zoom);

    const Skin& skin() const { return skin_; }
    void draw(gui::DrawContext& context) override;

  private:
    Skin skin_;
};

}  // namespace kirra::editor
