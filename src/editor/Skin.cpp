#include "editor/Skin.h"

#include <cairo.h>

#include <cmath>

namespace kirra::editor {

using gui::Color;
using gui::DrawContext;
using gui::Image;
using gui::Rect;

namespace {

constexpr double kPi = 3.14159265358979323846;
// Knobs turn through 270 degrees, from lower left (7:30) to lower right (4:30).
constexpr double kKnobStart = 0.75 * kPi;
constexpr double kKnobSweep = 1.5 * kPi;

void setColor(cairo_t* cr, Color color, double alpha = 1.0) {
    cairo_set_source_rgba(cr, color.red / 255.0, color.green / 255.0, color.blue / 255.0,
                          alpha * color.alpha / 255.0);
}

void paintKnobFrame(cairo_t* cr, double top, double value, Color arc) {
    const double cx = 21.0;
    const double cy = top + 21.0;
    // Track and value arc.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 3.0);
    setColor(cr, Skin::kLight, 0.14);
    cairo_arc(cr, cx, cy, 18.0, kKnobStart, kKnobStart + kKnobSweep);
    cairo_stroke(cr);
    if (value > 0.0) {
        setColor(cr, arc);
        cairo_arc(cr, cx, cy, 18.0, kKnobStart, kKnobStart + kKnobSweep * value);
        cairo_stroke(cr);
    }
    // Body: a soft shadow, a face lit from the top left, a thin rim.
    cairo_arc(cr, cx, cy + 1.0, 13.5, 0, 2 * kPi);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
    cairo_fill(cr);
    cairo_pattern_t* face = cairo_pattern_create_linear(cx - 12, cy - 12, cx + 12, cy + 12);
    cairo_pattern_add_color_stop_rgb(face, 0.0, 86 / 255.0, 100 / 255.0, 99 / 255.0);
    cairo_pattern_add_color_stop_rgb(face, 1.0, 40 / 255.0, 48 / 255.0, 47 / 255.0);
    cairo_arc(cr, cx, cy, 13.0, 0, 2 * kPi);
    cairo_set_source(cr, face);
    cairo_fill(cr);
    cairo_pattern_destroy(face);
    cairo_set_line_width(cr, 1.0);
    setColor(cr, Skin::kLight, 0.22);
    cairo_arc(cr, cx, cy, 12.5, 0, 2 * kPi);
    cairo_stroke(cr);
    // Pointer.
    double angle = kKnobStart + kKnobSweep * value;
    cairo_set_line_width(cr, 2.0);
    setColor(cr, Skin::kLight);
    cairo_move_to(cr, cx + std::cos(angle) * 4.5, cy + std::sin(angle) * 4.5);
    cairo_line_to(cr, cx + std::cos(angle) * 11.0, cy + std::sin(angle) * 11.0);
    cairo_stroke(cr);
}

// A film strip at a zoom: each frame painted at 100 % sizes on a whole device pixel of its own.
template <typename PaintFrame>
Image paintStrip(int width, int frameHeight, int frames, double scale, PaintFrame paintFrame) {
    const int pitch = gui::FilmStrip::framePitch(frameHeight, scale);
    Image strip(static_cast<int>(std::ceil(width * scale)), pitch * frames, scale);
    cairo_t* cr = cairo_create(strip.surface());
    for (int frame = 0; frame < frames; ++frame) {
        cairo_save(cr);
        cairo_translate(cr, 0, pitch * frame);
        cairo_scale(cr, scale, scale);
        paintFrame(cr, frame);
        cairo_restore(cr);
    }
    cairo_destroy(cr);
    return strip;
}

Image paintKnobStrip(Color arc, double scale) {
    return paintStrip(42, 42, Skin::kKnobFrames, scale, [arc](cairo_t* cr, int frame) {
        paintKnobFrame(cr, 0.0, frame / double(Skin::kKnobFrames - 1), arc);
    });
}

void roundRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 1.5 * kPi);
    cairo_close_path(cr);
}

Image paintButtonStrip(double scale) {
    const int w = Skin::kButtonWidth;
    const int h = Skin::kButtonHeight;
    return paintStrip(w, h, 2, scale, [](cairo_t* cr, int frame) {
        roundRect(cr, 0.5, 0.5, w - 1, h - 1, 3);
        if (frame == 0) {
            // Off: a raised dark key with a fine rim.
            cairo_set_source_rgb(cr, 60 / 255.0, 72 / 255.0, 71 / 255.0);
            cairo_fill_preserve(cr);
            setColor(cr, Skin::kLight, 0.28);
            cairo_set_line_width(cr, 1.0);
            cairo_stroke(cr);
        } else {
            // On: the light colour, the label drawn dark over it.
            setColor(cr, Skin::kLight);
            cairo_fill(cr);
        }
    });
}

Image paintPowerSwitch(double scale) {
    return paintStrip(30, 47, 2, scale, [](cairo_t* cr, int frame) {
        const double top = 0.0;
        bool on = frame == 1;
        // Slot with the lever up (on) or down (off), and a lamp above it.
        roundRect(cr, 9.5, top + 12.5, 11, 32, 5.5);
        setColor(cr, Skin::kScreen);
        cairo_fill_preserve(cr);
        setColor(cr, Skin::kLight, 0.3);
        cairo_set_line_width(cr, 1.0);
        cairo_stroke(cr);
        double leverTop = on ? top + 14 : top + 29;
        roundRect(cr, 11, leverTop, 8, 14, 4);
        setColor(cr, on ? Skin::kLight : Color{96, 110, 109});
        cairo_fill(cr);
        cairo_arc(cr, 15, top + 5.5, 3.0, 0, 2 * kPi);
        setColor(cr, on ? Skin::kAccent : Color{70, 82, 81});
        cairo_fill(cr);
        if (on) {
            cairo_arc(cr, 15, top + 5.5, 5.0, 0, 2 * kPi);
            setColor(cr, Skin::kAccent, 0.25);
            cairo_fill(cr);
        }
    });
}

Image paintArrowStrip(bool pointsLeft, double scale) {
    return paintStrip(11, 11, 2, scale, [pointsLeft](cairo_t* cr, int frame) {
        const double top = 0.0;
        double tipX = pointsLeft ? 2.5 : 8.5;
        double baseX = pointsLeft ? 8.0 : 3.0;
        cairo_move_to(cr, tipX, top + 5.5);
        cairo_line_to(cr, baseX, top + 1.5);
        cairo_line_to(cr, baseX, top + 9.5);
        cairo_close_path(cr);
        setColor(cr, Skin::kLight, frame == 0 ? 1.0 : 0.25);
        cairo_fill(cr);
    });
}

// Segments of 3 pixels with a 1-pixel gap; the last sixth (above -10 dB) is warm, the very
// last segments (above -1 dB) warn.
Image paintMeter(bool lit, double scale) {
    const Rect bar = {0, 0, 220, 8};
    Image image = Image::atScale(bar.width(), bar.height(), scale);
    cairo_t* cr = cairo_create(image.surface());
    cairo_scale(cr, scale, scale);
    const int segments = bar.width() / Skin::kMeterSegmentPitch;
    for (int segment = 0; segment < segments; ++segment) {
        double db = -60.0 + 60.0 * (segment + 1) / segments;
        Color color = db > -1.0 ? Skin::kWarning : (db > -10.0 ? Skin::kAccent : Skin::kLight);
        setColor(cr, color, lit ? 0.95 : 0.10);
        cairo_rectangle(cr, segment * Skin::kMeterSegmentPitch, 0, 3, bar.height());
        cairo_fill(cr);
    }
    cairo_destroy(cr);
    return image;
}

}  // namespace

Skin::Skin(double zoom)
    : background_(Image::atScale(830, 335, zoom)),
      mainKnob_(paintKnobStrip(kLight, zoom)),
      assignableKnob_(paintKnobStrip(kAccent, zoom)),
      button_(paintButtonStrip(zoom)),
      powerSwitch_(paintPowerSwitch(zoom)),
      leftArrow_(paintArrowStrip(true, zoom)),
      rightArrow_(paintArrowStrip(false, zoom)),
      meterLit_(paintMeter(true, zoom)),
      meterUnlit_(paintMeter(false, zoom)) {
    struct Collector : gui::TextObserver {
        std::vector<gui::TextDrawn>* texts;
        void textDrawn(const gui::TextDrawn& text) override { texts->push_back(text); }
    } collector;
    collector.texts = &backgroundTexts_;
    paintBackground(background_, &collector);
}

}  // namespace kirra::editor
