#include "gui/Image.h"

#include <cairo.h>

#include <cmath>
#include <utility>

namespace kirra::gui {

Image::Image(int width, int height) {
    if (width <= 0 || height <= 0) return;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return;
    }
    surface_ = surface;
    width_ = width;
    height_ = height;
}

Image::Image(int pixelWidth, int pixelHeight, double scale) : Image(pixelWidth, pixelHeight) {
    if (isValid() && scale > 0.0) scale_ = scale;
}

Image Image::atScale(int width, int height, double scale) {
    return Image(static_cast<int>(std::ceil(width * scale)),
                 static_cast<int>(std::ceil(height * scale)), scale);
}

Image::~Image() {
    release();
}

Image::Image(Image&& other) noexcept
    : surface_(std::exchange(other.surface_, nullptr)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      scale_(std::exchange(other.scale_, 1.0)) {}

Image& Image::operator=(Image&& other) noexcept {
    if (this != &other) {
        release();
        surface_ = std::exchange(other.surface_, nullptr);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
        scale_ = std::exchange(other.scale_, 1.0);
    }
    return *this;
}

void Image::release() {
    if (surface_ != nullptr) cairo_surface_destroy(surface_);
    surface_ = nullptr;
    width_ = height_ = 0;
    scale_ = 1.0;
}

uint32_t Image::pixel(int x, int y) const {
    if (surface_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    cairo_surface_flush(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    int stride = cairo_image_surface_get_stride(surface_);
    return reinterpret_cast<const uint32_t*>(data + y * stride)[x];
}

bool Image::writePng(const std::string& path) const {
    if (surface_ == nullptr) return false;
    return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

Image Image::readPng(const std::string& path) {
    Image image;
    cairo_surface_t* loaded = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(loaded) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(loaded);
        return image;
    }
    // Converted to our own format, so that pixels compare the same whatever the file held.
    int width = cairo_image_surface_get_width(loaded);
    int height = cairo_image_surface_get_height(loaded);
    image = Image(width, height);
    if (image.isValid()) {
        cairo_t* cr = cairo_create(image.surface());
        cairo_set_source_surface(cr, loaded, 0, 0);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_paint(cr);
        cairo_destroy(cr);
    }
    cairo_surface_destroy(loaded);
    return image;
}

}  // namespace kirra::gui
