#pragma once
// Input events as the views receive them, independent of the window system.

#include <cstdint>

#include "gui/Geometry.h"

namespace kirra::gui {

enum MouseButton : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum Modifier : int { kShift = 1, kControl = 2, kAlt = 4 };

struct MouseEvent {
    Point where;
    int buttons = 0;  // MouseButton bits: the button pressed, or those held while moving
    int modifiers = 0;
    bool doubleClick = false;

    bool isLeft() const { return (buttons & kLeftButton) != 0; }
    bool isRight() const { return (buttons & kRightButton) != 0; }
    bool hasShift() const { return (modifiers & kShift) != 0; }
    bool hasControl() const { return (modifiers & kControl) != 0; }
};

enum class Key {
    kCharacter,  // a printable character in `character`
    kReturn,
    kEscape,
    kBackSpace,
    kDelete,
    kLeft,
    kRight,
    kUp,
    kDown,
    kPageUp,
    kPageDown,
    kHome,
    kEnd,
    kTab,
    kOther,
};

struct KeyEvent {
    Key key = Key::kOther;
    uint32_t character = 0;  // Unicode code point for kCharacter
    int modifiers = 0;
};

}  // namespace kirra::gui
