#include "gui/DrawContext.h"

#include <cairo.h>

#include <cmath>

#include "gui/Image.h"

namespace kirra::gui {

namespace {

constexpr double kPi = 3.14159265358979323846;

// One face per weight for the whole process: building a face goes through fontconfig, which is
// far too slow to do per text.
cairo_font_face_t* monospaceFace(bool bold) {
    static cairo_font_face_t* regular = cairo_toy_font_face_create(
        "DejaVu Sans Mono", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    static cairo_font_face_t* heavy = cairo_toy_font_face_create(
        "DejaVu Sans Mono", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    return bold ? heavy : regular;
}

// Fixed text rendering, so that the same drawing gives the same pixels on every surface.
void setTextOptions(cairo_t* cairo) {
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(cairo, options);
    cairo_font_options_destroy(options);
}

// Texts come from files and hosts as bytes; cairo refuses invalid UTF-8 for good (the context
// stays in error), so only printable ASCII is drawn and everything else shows as '?'.
struct PrintableText {
    static constexpr int kMaxLength = 255;
    char bytes[kMaxLength + 1];

    explicit PrintableText(const char* text) {
        int length = 0;
        for (; text[length] != 0 && length < kMaxLength; ++length) {
            unsigned char c = static_cast<unsigned char>(text[length]);
            bytes[length] = c >= 32 && c < 127 ? static_cast<char>(c) : '?';
        }
        bytes[length] = 0;
    }
};

}  // namespace

DrawContext::DrawContext(Image& target) : owned_(true) {
    cairo_ = cairo_create(target.surface());
    setTextOptions(cairo_);
}

DrawContext::DrawContext(cairo_t* cairo) : cairo_(cairo) {
    setTextOptions(cairo_);
}

DrawContext::~DrawContext() {
    if (owned_) cairo_destroy(cairo_);
}

void DrawContext::setColor(Color color) {
    cairo_set_source_rgba(cairo_, color.red / 255.0, color.green / 255.0, color.blue / 255.0,
                          color.alpha / 255.0);
}

void DrawContext::setLineWidth(double width) {
    lineWidth_ = width;
    cairo_set_line_width(cairo_, width);
}

void DrawContext::setLineStyle(LineStyle style) {
    static const double kDashes[] = {4.0, 3.0};
    static const double kDots[] = {1.0, 2.0};
    if (style == LineStyle::kDashed) {
        cairo_set_dash(cairo_, kDashes, 2, 0.0);
    } else if (style == LineStyle::kDotted) {
        cairo_set_dash(cairo_, kDots, 2, 0.0);
    } else {
        cairo_set_dash(cairo_, nullptr, 0, 0.0);
    }
}

void DrawContext::drawLine(int x1, int y1, int x2, int y2) {
    // Odd widths sit on pixel centres, even widths on pixel edges.
    double shift = std::fmod(lineWidth_, 2.0) == 1.0 ? 0.5 : 0.0;
    cairo_move_to(cairo_, x1 + shift, y1 + shift);
    cairo_line_to(cairo_, x2 + shift, y2 + shift);
    cairo_stroke(cairo_);
}

void DrawContext::drawPolyline(const float* xs, const float* ys, int count) {
    if (count < 2) return;
    cairo_move_to(cairo_, xs[0], ys[0]);
    for (int i = 1; i < count; ++i)
        cairo_line_to(cairo_, xs[i], ys[i]);
    cairo_stroke(cairo_);
}

void DrawContext::frameRect(const Rect& rect) {
    if (rect.isEmpty()) return;
    double half = lineWidth_ / 2.0;
    cairo_rectangle(cairo_, rect.left + half, rect.top + half, rect.width() - lineWidth_,
                    rect.height() - lineWidth_);
    cairo_stroke(cairo_);
}

void DrawContext::fillRect(const Rect& rect) {
    if (rect.isEmpty()) return;
    cairo_rectangle(cairo_, rect.left, rect.top, rect.width(), rect.height());
    cairo_fill(cairo_);
}

void DrawContext::roundRectPath(const Rect& rect, double radius, double inset) {
    double left = rect.left + inset;
    double top = rect.top + inset;
    double right = rect.right - inset;
    double bottom = rect.bottom - inset;
    radius = std::min(radius, std::min(right - left, bottom - top) / 2.0);
    cairo_new_sub_path(cairo_);
    cairo_arc(cairo_, right - radius, top + radius, radius, -kPi / 2, 0);
    cairo_arc(cairo_, right - radius, bottom - radius, radius, 0, kPi / 2);
    cairo_arc(cairo_, left + radius, bottom - radius, radius, kPi / 2, kPi);
    cairo_arc(cairo_, left + radius, top + radius, radius, kPi, 3 * kPi / 2);
    cairo_close_path(cairo_);
}

void DrawContext::fillRoundRect(const Rect& rect, double radius) {
    if (rect.isEmpty()) return;
    roundRectPath(rect, radius, 0.0);
    cairo_fill(cairo_);
}

void DrawContext::frameRoundRect(const Rect& rect, double radius) {
    if (rect.isEmpty()) return;
    roundRectPath(rect, radius, lineWidth_ / 2.0);
    cairo_stroke(cairo_);
}

void DrawContext::drawImage(const Image& image, int sourceX, int sourceY, const Rect& destination) {
    if (!image.isValid() || destination.isEmpty()) return;
    cairo_save(cairo_);
    cairo_rectangle(cairo_, destination.left, destination.top, destination.width(),
                    destination.height());
    cairo_clip(cairo_);
    cairo_set_source_surface(cairo_, image.surface(), destination.left - sourceX,
                             destination.top - sourceY);
    cairo_paint(cairo_);
    cairo_restore(cairo_);
}

void DrawContext::selectFont(const Font& font) {
    cairo_set_font_face(cairo_, monospaceFace(font.bold));
    cairo_set_font_size(cairo_, font.size);
}

void DrawContext::drawText(const char* text, const Rect& box, Align align, const Font& font,
                           Color color) {
    if (text == nullptr || text[0] == 0 || box.isEmpty()) return;
    PrintableText printable(text);
    selectFont(font);
    cairo_font_extents_t fontExtents;
    cairo_font_extents(cairo_, &fontExtents);
    cairo_text_extents_t extents;
    cairo_text_extents(cairo_, printable.bytes, &extents);
    double x = box.left;
    if (align == Align::kCenter) x = box.left + (box.width() - extents.x_advance) / 2.0;
    if (align == Align::kRight) x = box.right - extents.x_advance;
    // Capital letters centred on the box, baselines on whole pixels for crisp glyphs.
    double capHeight = fontExtents.ascent * 0.75;
    double baseline = std::round(box.top + (box.height() + capHeight) / 2.0);
    cairo_save(cairo_);
    cairo_rectangle(cairo_, box.left, box.top, box.width(), box.height());
    cairo_clip(cairo_);
    setColor(color);
    cairo_move_to(cairo_, std::round(x), baseline);
    cairo_show_text(cairo_, printable.bytes);
    cairo_restore(cairo_);
}

double DrawContext::textWidth(const char* text, const Font& font) {
    if (text == nullptr || text[0] == 0) return 0.0;
    PrintableText printable(text);
    selectFont(font);
    cairo_text_extents_t extents;
    cairo_text_extents(cairo_, printable.bytes, &extents);
    return extents.x_advance;
}

void DrawContext::save() {
    cairo_save(cairo_);
}

void DrawContext::restore() {
    cairo_restore(cairo_);
}

void DrawContext::clip(const Rect& rect) {
    cairo_rectangle(cairo_, rect.left, rect.top, rect.width(), rect.height());
    cairo_clip(cairo_);
}

}  // namespace kirra::gui
