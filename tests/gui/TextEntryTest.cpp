// Typing into text edits: what is kept, what is dropped, and how an entry ends.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gui/Frame.h"
#include "gui/TextEdit.h"

namespace {

using namespace kirra::gui;

KeyEvent character(char c) {
    KeyEvent event;
    event.key = Key::kCharacter;
    event.character = static_cast<unsigned char>(c);
    return event;
}

KeyEvent key(Key k) {
    KeyEvent event;
    event.key = k;
    return event;
}

void type(Frame& frame, const std::string& text) {
    for (char c : text)
        frame.keyDown(character(c));
}

struct Fixture : ::testing::Test, ControlListener {
    void valueChanged(Control*) override { ++changes; }
    Frame frame{200, 100};
    TextEdit* edit = frame.addView(std::make_unique<TextEdit>(Rect{0, 0, 100, 12}, this, 3));
    int changes = 0;
};

TEST_F(Fixture, FirstKeyReplacesTheTextAndReturnCommits) {
    edit->setText("old");
    edit->startEntry("old");
    EXPECT_EQ(frame.getFocusView(), edit);
    type(frame, "new");
    frame.keyDown(key(Key::kLeft));
    frame.keyDown(key(Key::kBackSpace));
    type(frame, "W");
    frame.keyDown(key(Key::kReturn));
    EXPECT_EQ(edit->getText(), "nWw");
    EXPECT_FALSE(edit->isEntering());
    EXPECT_EQ(frame.getFocusView(), nullptr);
    EXPECT_EQ(changes, 1);
}

TEST_F(Fixture, EscapeCancelsAndAClickElsewhereCommits) {
    edit->setText("keep");
    edit->startEntry("keep");
    type(frame, "gone");
    frame.keyDown(key(Key::kEscape));
    EXPECT_EQ(edit->getText(), "keep");
    EXPECT_EQ(changes, 0);

    edit->startEntry("keep");
    type(frame, "clicked");
    MouseEvent press;
    press.where = {150, 50};
    press.buttons = kLeftButton;
    frame.mouseDown(press);
    frame.mouseUp(press);
    EXPECT_EQ(edit->getText(), "clicked");
    EXPECT_EQ(changes, 1);
}

TEST_F(Fixture, ControlCharactersAndNonAsciiAreDroppedAndLengthIsLimited) {
    edit->startEntry("", 8);
    for (char c : std::string("a\tb\nc\x7f\x1b"))
        frame.keyDown(character(c));
    KeyEvent wide = character('x');
    wide.character = 0x20AC;  // a euro sign from a keyboard layout
    frame.keyDown(wide);
    EXPECT_EQ(edit->getEntry(), "abc");
    type(frame, std::string(10000, 'z'));
    EXPECT_EQ(edit->getEntry(), "abczzzzz");
    frame.keyDown(key(Key::kReturn));
    EXPECT_EQ(edit->getText(), "abczzzzz");
}

}  // namespace
