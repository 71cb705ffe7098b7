#pragma once
// A 32-bit ARGB pixel image in memory: skin film strips, the back buffer of a window and
// offscreen renderings of views.

#include <cstdint>
#include <string>

// NOLINTNEXTLINE(bugprone-reserved-identifier): cairo's own tag name
typedef struct _cairo_surface cairo_surface_t;

namespace kirra::gui {

class Image {
  public:
    Image() = default;
    Image(int width, int height);
    ~Image();
    Image(Image&& other) noexcept;
    Image& operator=(Image&& other) noexcept;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    bool isValid() const { return surface_ != nullptr; }
    int width() const { return width_; }
    int height() const { return height_; }
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
};

}  // namespace kirra::gui
