#pragma once
// Drawing over cairo in the toolkit's terms: pixel rectangles, crisp one-pixel lines, solid and
// two dashed line styles, polylines, images and monospaced text.

#include "gui/Geometry.h"

// NOLINTNEXTLINE(bugprone-reserved-identifier): cairo's own tag name
typedef struct _cairo cairo_t;

namespace kirra::gui {

class Image;

enum class LineStyle { kSolid, kDashed, kDotted };
enum class Align { kLeft, kCenter, kRight };

struct Font {
    double size = 9.0;  // pixels
    bool bold = false;
};

class DrawContext {
  public:
    // Draws into an image; the context owns its cairo state.
    explicit DrawContext(Image& target);
    // Draws through a cairo state someone else owns.
    explicit DrawContext(cairo_t* cairo);
    ~DrawContext();
    DrawContext(const DrawContext&) = delete;
    DrawContext& operator=(const DrawContext&) = delete;

    cairo_t* cairo() const { return cairo_; }

    void setColor(Color color);
    void setLineWidth(double width);
    void setLineStyle(LineStyle style);

    // Lines between pixel centres, so that one-pixel lines stay one pixel wide.
    void drawLine(int x1, int y1, int x2, int y2);
    void drawPolyline(const float* xs, const float* ys, int count);
    void frameRect(const Rect& rect);
    void fillRect(const Rect& rect);
    void fillRoundRect(const Rect& rect, double radius);
    void frameRoundRect(const Rect& rect, double radius);

    // Copies a part of an image (source origin, size of the destination) to the destination.
    void drawImage(const Image& image, int sourceX, int sourceY, const Rect& destination);

    // One line of text, vertically centred in the box and cut at its edges.
    void drawText(const char* text, const Rect& box, Align align, const Font& font, Color color);
    double textWidth(const char* text, const Font& font);

    void save();
    void restore();
    void clip(const Rect& rect);

  private:
    void selectFont(const Font& font);
    void roundRectPath(const Rect& rect, double radius, double inset);

    cairo_t* cairo_ = nullptr;
    bool owned_ = false;
    double lineWidth_ = 1.0;
};

}  // namespace kirra::gui
