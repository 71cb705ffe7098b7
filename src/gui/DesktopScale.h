#pragma once
// The scale the desktop asks of applications, for a first open without the user's own choice:
// GDK_SCALE when set, else the X resources' Xft.dpi over 96. Whatever the desktop says is passed
// on as it is (0, negative or huge); limiting it is the caller's.

namespace kirra::gui {

// 1.0 is 100 %; 0 when the desktop says nothing readable.
double desktopScale();
// The same from the texts: GDK_SCALE's value and the X resource database (either may be null).
double desktopScaleFrom(const char* gdkScale, const char* resources);

}  // namespace kirra::gui
