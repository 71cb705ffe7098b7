#pragma once
// Drawing over cairo in the toolkit's terms: pixel rectangles, crisp lines, solid and two dashed
// line styles, polylines, images and text. Coordinates are 100 % pixels; a context on an image
// drawn for a zoom factor scales them, and puts every edge, line and text baseline on whole
// device pixels so that nothing is blurred between steps of the zoom.

#include <string>

#include "gui/Geometry.h"

// NOLINTNEXTLINE(bugprone-reserved-identifier): cairo's own tag name
typedef struct _cairo cairo_t;

namespace kirra::gui {

class Image;
class View;

enum class LineStyle { kSolid, kDashed, kDotted };
enum class Align { kLeft, kCenter, kRight };

struct Font {
    double size = 9.0;  // 100 % pixels
    bool bold = false;
    // The monospaced face, where digits in columns must line up.
    bool mono = false;
};

// What a text draw put where; the frame keeps cut texts for the pointer's help, and tests read
// positions and colours without recognising glyphs.
struct TextDrawn {
    const View* view = nullptr;  // the view being drawn, if any
    std::string text;            // the whole text asked for
    Rect box;                    // where it was asked to fit
    Rect ink;                    // the pixels its glyphs cover, as drawn
    Color color;
    bool cut = false;  // ended in an ellipsis
};

class TextObserver {
  public:
    virtual void viewDrawing(const View* /*view*/) {}
    virtual void textDrawn(const TextDrawn& text) = 0;

  protected:
    ~TextObserver() = default;
};

class DrawContext {
  public:
    // Draws into an image, at the image's scale; the context owns its cairo state.
    explicit DrawContext(Image& target);
    // Draws through a cairo state someone else owns, at 100 %.
    explicit DrawContext(cairo_t* cairo);
    ~DrawContext();
    DrawContext(const DrawContext&) = delete;
    DrawContext& operator=(const DrawContext&) = delete;

    cairo_t* cairo() const { return cairo_; }
    double zoom() const { return zoom_; }

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

    // Copies a part of an image (source origin in 100 % pixels, size of the destination) to the
    // destination; an image of this context's scale is copied pixel for pixel.
    void drawImage(const Image& image, int sourceX, int sourceY, const Rect& destination);
    // The same with the source origin in the image's own pixels.
    void drawImagePixels(const Image& image, int pixelX, int pixelY, const Rect& destination);

    // One line of text, vertically centred in the box. A text wider than the box ends in an
    // ellipsis, so that nothing is cut silently.
    void drawText(const char* text, const Rect& box, Align align, const Font& font, Color color);
    double textWidth(const char* text, const Font& font);

    void save();
    void restore();
    void clip(const Rect& rect);

    // Whoever wants to know what text went where (the frame, tests).
    void setTextObserver(TextObserver* observer) { observer_ = observer; }
    // The view about to draw, for the texts it draws.
    void beginView(const View* view);
    // Tells the observer of a text drawn earlier into an image that is now drawn (a skin).
    void reportText(const TextDrawn& text);

  private:
    void selectFont(const Font& font);
    void roundRectPath(const Rect& rect, double radius, double inset);
    // A 100 % rectangle with its edges moved to whole device pixels.
    void snappedRectangle(const Rect& rect, double deviceInset);
    // The device line width of a 100 % width: whole pixels, at least one.
    double deviceLineWidth() const;

    cairo_t* cairo_ = nullptr;
    bool owned_ = false;
    double zoom_ = 1.0;
    double lineWidth_ = 1.0;
    TextObserver* observer_ = nullptr;
    const View* view_ = nullptr;
};

}  // namespace kirra::gui
