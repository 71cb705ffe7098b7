#pragma once
// Pointer and key events as the window delivers them, for the view and editor tests.

#include <string>

#include "gui/Frame.h"

namespace testing_support {

inline kirra::gui::MouseEvent mouseAt(int x, int y, int buttons = kirra::gui::kLeftButton,
                                      int modifiers = 0, bool doubleClick = false) {
    return {{x, y}, buttons, modifiers, doubleClick};
}

inline kirra::gui::MouseEvent mouseAt(kirra::gui::Point where,
                                      int buttons = kirra::gui::kLeftButton, int modifiers = 0,
                                      bool doubleClick = false) {
    return mouseAt(where.x, where.y, buttons, modifiers, doubleClick);
}

inline kirra::gui::Point centreOf(const kirra::gui::Rect& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

inline void click(kirra::gui::Frame& frame, const kirra::gui::MouseEvent& event) {
    frame.mouseDown(event);
    frame.mouseUp(event);
}

inline void click(kirra::gui::Frame& frame, int x, int y, int buttons = kirra::gui::kLeftButton,
                  int modifiers = 0) {
    click(frame, mouseAt(x, y, buttons, modifiers));
}

// Pressed, moved half way, moved to the end and released, with the modifiers held throughout.
inline void drag(kirra::gui::Frame& frame, int x, int y, int toX, int toY, int modifiers = 0) {
    frame.mouseDown(mouseAt(x, y, kirra::gui::kLeftButton, modifiers));
    frame.mouseMoved(mouseAt((x + toX) / 2, (y + toY) / 2, kirra::gui::kLeftButton, modifiers));
    frame.mouseMoved(mouseAt(toX, toY, kirra::gui::kLeftButton, modifiers));
    frame.mouseUp(mouseAt(toX, toY, kirra::gui::kLeftButton, modifiers));
}

inline void pressKey(kirra::gui::Frame& frame, kirra::gui::Key key, int modifiers = 0) {
    frame.keyDown(kirra::gui::KeyEvent{key, 0, modifiers});
}

// Each byte as a typed character.
inline void typeKeys(kirra::gui::Frame& frame, const std::string& text) {
    for (char c : text)
        frame.keyDown({kirra::gui::Key::kCharacter, static_cast<unsigned char>(c), 0});
}

}  // namespace testing_support
