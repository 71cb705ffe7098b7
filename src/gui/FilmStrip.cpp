#include "gui/FilmStrip.h"

#include <cmath>

#include "gui/DrawContext.h"

namespace kirra::gui {

int FilmStrip::frameFor(float value) const {
    if (frames <= 1 || !std::isfinite(value)) return 0;
    int frame = static_cast<int>(std::lround(value * (frames - 1)));
    return frame < 0 ? 0 : (frame >= frames ? frames - 1 : frame);
}

int FilmStrip::framePitch(int frameHeight, double scale) {
    return static_cast<int>(std::ceil(frameHeight * scale));
}

void FilmStrip::draw(DrawContext& context, const Rect& where, int frame) const {
    if (!isValid()) return;
    frame = frame < 0 ? 0 : (frame >= frames ? frames - 1 : frame);
    context.drawImagePixels(*image, 0, frame * framePitch(frameHeight, image->scale()), where);
}

}  // namespace kirra::gui
