#pragma once
// Frames of equal size stacked vertically in one image, the way knobs and buttons are drawn:
// the control shows the frame that matches its value. At a zoom factor each frame starts on a
// whole device pixel (framePitch), so a frame is copied without resampling.

#include "gui/Image.h"

namespace kirra::gui {

class DrawContext;
struct Rect;

struct FilmStrip {
    const Image* image = nullptr;
    int frames = 0;
    int frameHeight = 0;

    bool isValid() const { return image != nullptr && image->isValid() && frames > 0; }
    // Frame of a value 0..1, rounded to the nearest.
    int frameFor(float value) const;
    // The distance between frame tops in device pixels, for a frame height at a scale.
    static int framePitch(int frameHeight, double scale);
    void draw(DrawContext& context, const Rect& where, int frame) const;
};

}  // namespace kirra::gui
