// Typing into text edits: what is kept, what is dropped, and how an entry ends.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gui/Frame.h"
#include "gui/PointerEvents.h"
#include "gui/TextEdit.h"

namespace {

using namespace kirra::gui;

using testing_support::pressKey;
using testing_support::typeKeys;

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
    typeKeys(frame, "new");
    pressKey(frame, Key::kLeft);
    pressKey(frame, Key::kBackSpace);
    typeKeys(frame, "W");
    pressKey(frame, Key::kReturn);
    EXPECT_EQ(edit->getText(), "nWw");
    EXPECT_FALSE(edit->isEntering());
    EXPECT_EQ(frame.getFocusView(), nullptr);
    EXPECT_EQ(changes, 1);
}

TEST_F(Fixture, EscapeCancelsAndAClickElsewhereCommits) {
    edit->setText("keep");
    edit->startEntry("keep");
    typeKeys(frame, "gone");
    pressKey(frame, Key::kEscape);
    EXPECT_EQ(edit->getText(), "keep");
    EXPECT_EQ(changes, 0);

    edit->startEntry("keep");
    typeKeys(frame, "clicked");
    testing_support::click(frame, 150, 50);
    EXPECT_EQ(edit->getText(), "clicked");
    EXPECT_EQ(changes, 1);
}

TEST_F(Fixture, ControlCharactersAndNonAsciiAreDroppedAndLengthIsLimited) {
    edit->startEntry("", 8);
    typeKeys(frame, "a\tb\nc\x7f\x1b");
    frame.keyDown({Key::kCharacter, 0x20AC, 0});  // a euro sign from a keyboard layout
    EXPECT_EQ(edit->getEntry(), "abc");
    typeKeys(frame, std::string(10000, 'z'));
    EXPECT_EQ(edit->getEntry(), "abczzzzz");
    pressKey(frame, Key::kReturn);
    EXPECT_EQ(edit->getText(), "abczzzzz");
}

}  // namespace
