#include "gui/DesktopScale.h"

#include <X11/Xlib.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace kirra::gui {

namespace {

// The X server's resolution that desktops call 100 %.
constexpr double kBaseDpi = 96.0;

bool readNumber(const char* text, double& value) {
    if (text == nullptr) return false;
    char* end = nullptr;
    value = std::strtod(text, &end);
    while (end != nullptr && (*end == ' ' || *end == '\t'))
        ++end;
    return end != text && end != nullptr && (*end == 0 || *end == '\n');
}

// "Xft.dpi:\t144" on a line of its own.
bool resourceDpi(const char* resources, double& dpi) {
    if (resources == nullptr) return false;
    const char* key = "Xft.dpi:";
    for (const char* line = resources; line != nullptr && *line != 0;) {
        const char* next = std::strchr(line, '\n');
        if (std::strncmp(line, key, std::strlen(key)) == 0) {
            std::string value(line + std::strlen(key),
                              next != nullptr ? next : line + std::strlen(line));
            return readNumber(value.c_str(), dpi);  // strtod skips the blanks before
        }
        line = next != nullptr ? next + 1 : nullptr;
    }
    return false;
}

}  // namespace

double desktopScaleFrom(const char* gdkScale, const char* resources) {
    double value = 0.0;
    if (gdkScale != nullptr && *gdkScale != 0) return readNumber(gdkScale, value) ? value : 0.0;
    if (resourceDpi(resources, value)) return value / kBaseDpi;
    return 0.0;
}

double desktopScale() {
    const char* gdkScale = std::getenv("GDK_SCALE");
    if (gdkScale != nullptr && *gdkScale != 0) return desktopScaleFrom(gdkScale, nullptr);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 0.0;
    double scale = desktopScaleFrom(nullptr, XResourceManagerString(display));
    XCloseDisplay(display);
    return scale;
}

}  // namespace kirra::gui
