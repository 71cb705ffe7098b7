#include "gui/DrawContext.h"

#include <cairo.h>

#include <cmath>
#include <cstring>

#include "gui/FontFaces.h"
#include "gui/Image.h"

namespace kirra::gui {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr const char* kEllipsis = "\xE2\x80\xA6";  // U+2026 in UTF-8

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

DrawContext::DrawContext(Image& target) : owned_(true), zoom_(target.scale()) {
    cairo_ = cairo_create(target.surface());
    cairo_scale(cairo_, zoom_, zoom_);
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

double DrawContext::deviceLineWidth() const {
    return std::max(1.0, std::round(lineWidth_ * zoom_));
}

void DrawContext::drawLine(int x1, int y1, int x2, int y2) {
    // At 100 % odd widths sit on pixel centres and even widths on pixel edges; at a zoom the
    // line keeps that place and a whole number of device pixels of width.
    const double width = deviceLineWidth();
    const double centre = std::fmod(lineWidth_, 2.0) == 1.0 ? 0.5 : 0.0;
    auto device = [&](int logical) {
        return (std::round((logical + centre) * zoom_ - width / 2.0) + width / 2.0) / zoom_;
    };
    cairo_save(cairo_);
    cairo_set_line_width(cairo_, width / zoom_);
    cairo_move_to(cairo_, device(x1), device(y1));
    cairo_line_to(cairo_, device(x2), device(y2));
    cairo_stroke(cairo_);
    cairo_restore(cairo_);
}

void DrawContext::drawPolyline(const float* xs, const float* ys, int count) {
    if (count < 2) return;
    cairo_move_to(cairo_, xs[0], ys[0]);
    for (int i = 1; i < count; ++i)
        cairo_line_to(cairo_, xs[i], ys[i]);
    cairo_stroke(cairo_);
}

void DrawContext::snappedRectangle(const Rect& rect, double deviceInset) {
    const Rect device = toDevice(rect, zoom_);
    cairo_rectangle(cairo_, (device.left + deviceInset) / zoom_, (device.top + deviceInset) / zoom_,
                    (device.width() - 2 * deviceInset) / zoom_,
                    (device.height() - 2 * deviceInset) / zoom_);
}

void DrawContext::frameRect(const Rect& rect) {
    if (rect.isEmpty()) return;
    const double width = deviceLineWidth();
    cairo_save(cairo_);
    cairo_set_line_width(cairo_, width / zoom_);
    snappedRectangle(rect, width / 2.0);
    cairo_stroke(cairo_);
    cairo_restore(cairo_);
}

void DrawContext::fillRect(const Rect& rect) {
    if (rect.isEmpty()) return;
    snappedRectangle(rect, 0.0);
    cairo_fill(cairo_);
}

void DrawContext::roundRectPath(const Rect& rect, double radius, double inset) {
    const Rect device = toDevice(rect, zoom_);
    double left = device.left / zoom_ + inset;
    double top = device.top / zoom_ + inset;
    double right = device.right / zoom_ - inset;
    double bottom = device.bottom / zoom_ - inset;
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
    const double width = deviceLineWidth() / zoom_;
    cairo_save(cairo_);
    cairo_set_line_width(cairo_, width);
    roundRectPath(rect, radius, width / 2.0);
    cairo_stroke(cairo_);
    cairo_restore(cairo_);
}

void DrawContext::drawImage(const Image& image, int sourceX, int sourceY, const Rect& destination) {
    drawImagePixels(image, static_cast<int>(std::lround(sourceX * image.scale())),
                    static_cast<int>(std::lround(sourceY * image.scale())), destination);
}

void DrawContext::drawImagePixels(const Image& image, int pixelX, int pixelY,
                                  const Rect& destination) {
    if (!image.isValid() || destination.isEmpty()) return;
    const Rect device = toDevice(destination, zoom_);
    cairo_save(cairo_);
    // In device pixels, so that an image of this zoom lands pixel on pixel; one of another
    // zoom (a stored 100 % rendering on a zoomed context) is scaled to fit.
    cairo_identity_matrix(cairo_);
    cairo_rectangle(cairo_, device.left, device.top, device.width(), device.height());
    cairo_clip(cairo_);
    const double factor = zoom_ / image.scale();
    cairo_translate(cairo_, device.left - pixelX * factor, device.top - pixelY * factor);
    cairo_scale(cairo_, factor, factor);
    cairo_set_source_surface(cairo_, image.surface(), 0, 0);
    cairo_paint(cairo_);
    cairo_restore(cairo_);
}

void DrawContext::selectFont(const Font& font) {
    cairo_set_font_face(cairo_, fontFace(font.mono, font.bold));
    cairo_set_font_size(cairo_, font.size);
}

void DrawContext::beginView(const View* view) {
    view_ = view;
    if (observer_ != nullptr) observer_->viewDrawing(view);
}

void DrawContext::reportText(const TextDrawn& text) {
    if (observer_ == nullptr) return;
    TextDrawn drawn = text;
    drawn.view = view_;
    observer_->textDrawn(drawn);
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
    // Too wide: the longest start that fits with an ellipsis after it.
    std::string shown = printable.bytes;
    bool cut = false;
    if (extents.x_advance > box.width() + 0.01) {
        cut = true;
        size_t length = shown.size();
        do {
            --length;
            while (length > 0 && shown[length - 1] == ' ')
                --length;
            std::string candidate = std::string(printable.bytes, length) + kEllipsis;
            cairo_text_extents(cairo_, candidate.c_str(), &extents);
            shown = candidate;
        } while (length > 0 && extents.x_advance > box.width());
    }
    double x = box.left;
    if (align == Align::kCenter) x = box.left + (box.width() - extents.x_advance) / 2.0;
    if (align == Align::kRight) x = box.right - extents.x_advance;
    // Capital letters centred on the box; origin and baseline on whole device pixels, where
    // the hinted glyphs are crisp.
    double capHeight = fontExtents.ascent * 0.75;
    double baseline = std::round((box.top + (box.height() + capHeight) / 2.0) * zoom_) / zoom_;
    x = std::round(x * zoom_) / zoom_;
    cairo_save(cairo_);
    snappedRectangle(box, 0.0);
    cairo_clip(cairo_);
    setColor(color);
    cairo_move_to(cairo_, x, baseline);
    cairo_show_text(cairo_, shown.c_str());
    cairo_restore(cairo_);
    if (observer_ != nullptr) {
        TextDrawn drawn;
        drawn.view = view_;
        drawn.text = printable.bytes;
        drawn.box = box;
        drawn.ink = {static_cast<int>(std::floor(x + extents.x_bearing)),
                     static_cast<int>(std::floor(baseline + extents.y_bearing)),
                     static_cast<int>(std::ceil(x + extents.x_bearing + extents.width)),
                     static_cast<int>(std::ceil(baseline + extents.y_bearing + extents.height))};
        drawn.color = color;
        drawn.cut = cut;
        observer_->textDrawn(drawn);
    }
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
    snappedRectangle(rect, 0.0);
    cairo_clip(cairo_);
}

}  // namespace kirra::gui
