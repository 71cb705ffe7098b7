#include "gui/FilmStrip.h"

#include <cmath>

#include "gui/DrawContext.h"

namespace kirra::gui {

int FilmStrip::frameFor(float value) const {
    if (frames <= 1 || !std::isfinite(value)) return 0;
    int frame = static_cast<int>(std::lround(value * (frames - 1)));
    return frame < 0 ? 0 : (frame >= frames ? frames - 1 : frame);
}

void FilmStrip::draw(DrawContext& context, const Rect& where, int frame) const {
    if (!isValid()) return;
    frame = frame < 0 ? 0 : (frame >= frames ? frames - 1 : frame);
    context.drawImage(*image, 0, frame * frameHeight, where);
}

}  // namespace kirra::gui
