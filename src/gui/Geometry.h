#pragma once
// Pixel geometry of the view tree: every view lives in the frame's coordinates, origin top left.

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kirra::gui {

struct Point {
    int x = 0;
    int y = 0;
};

// Left and top inside, right and bottom just outside, as pixel rectangles usually are.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    bool intersects(const Rect& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
    Rect united(const Rect& other) const {
        if (isEmpty()) return other;
        if (other.isEmpty()) return *this;
        return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
                std::max(bottom, other.bottom)};
    }
    Rect inset(int dx, int dy) const { return {left + dx, top + dy, right - dx, bottom - dy}; }
    Rect offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
};

// The views keep 100 % coordinates; a window or an image at a zoom factor has more device
// pixels. Every edge goes to the nearest device pixel, the same way everywhere, so that
// neighbouring views still meet without a gap or an overlap at zooms like 125 %.
inline int toDevice(int logical, double zoom) {
    return static_cast<int>(std::floor(logical * zoom + 0.5));
}
inline Rect toDevice(const Rect& rect, double zoom) {
    return {toDevice(rect.left, zoom), toDevice(rect.top, zoom), toDevice(rect.right, zoom),
            toDevice(rect.bottom, zoom)};
}
// The 100 % point whose pixel holds the centre of a device pixel.
inline int fromDevice(int device, double zoom) {
    return static_cast<int>(std::floor((device + 0.5) / zoom));
}
// The 100 % rectangle that covers a device rectangle.
inline Rect coveringRect(const Rect& device, double zoom) {
    return {static_cast<int>(std::floor(device.left / zoom)),
            static_cast<int>(std::floor(device.top / zoom)),
            static_cast<int>(std::ceil(device.right / zoom)),
            static_cast<int>(std::ceil(device.bottom / zoom))};
}

struct Color {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t alpha = 255;

    Color withAlpha(uint8_t a) const { return {red, green, blue, a}; }
    // Linear mix towards another colour, 0 keeps this one.
    Color mixedWith(Color other, float amount) const {
        auto mix = [amount](uint8_t a, uint8_t b) {
            return static_cast<uint8_t>(a + (b - a) * amount + 0.5f);
        };
        return {mix(red, other.red), mix(green, other.green), mix(blue, other.blue),
                mix(alpha, other.alpha)};
    }
};

}  // namespace kirra::gui
