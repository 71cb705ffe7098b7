#pragma once
// A 32-bit ARGB pixel image in memory: skin film strips, the back buffer of a window and
// offscreen renderings of views. An image drawn for a zoom factor knows it: its pixels are
// device pixels, `scale` of them to a 100 % pixel, and it is copied pixel for pixel onto a
// context of the same zoom, never resampled.

#include <cstdint>
#include <string>

// NOLINTNEXTLINE(bugprone-reserved-identifier): cairo's own tag name
typedef struct _cairo_surface cairo_surface_t;

namespace kirra::gui {

class Image {
  public:
    Image() = default;
    Image(int width, int height);
    // An image of so many device pixels for a zoom factor.
    Image(int pixelWidth, int pixelHeight, double scale);
    // An image of a 100 % size at a zoom factor: ceil(size * scale) pixels each way.
    static Image atScale(int width, int height, double scale);
    ~Image();
    Image(Image&& other) noexcept;
    Image& operator=(Image&& other) noexcept;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    bool isValid() const { return surface_ != nullptr; }
    int width() const { return width_; }
    int height() const { return height_; }
    double scale() const { return scale_; }
    cairo_surface_t* surface() const { return surface_; }

    // 0xAARRGGBB, premultiplied as cairo stores it; 0 outside the image.
    uint32_t pixel(int x, int y) const;
    bool writePng(const std::string& path) const;
    // An invalid image when the file is missing or not a PNG.
    static Image readPng(const std::string& path);

  private:
    void release();

    cairo_surface_t* surface_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    double scale_ = 1.0;
};

}  // namespace kirra::gui
