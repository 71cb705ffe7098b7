// The library page against a stand-in for the plug-in's library: what each button asks for,
// the list, and the path field where the desktop has no file dialog.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/CLibWnd.h"
#include "editor/CPathField.h"
#include "editor/EditorLayout.h"
#include "editor/MyFrame.h"
#include "gui/PointerEvents.h"

namespace {

using namespace kirra::editor;
using kirra::gui::Key;
using kirra::gui::Rect;

struct FakeLibrary : LibraryOperations {
    int currentBank() override { return bank; }
    int currentPreset() override { return preset; }
    std::string programName(int b, int p) override {
        return "P" + std::to_string(b) + "-" + std::to_string(p);
    }
    void selectProgram(int b, int p) override {
        bank = b;
        preset = p;
    }
    bool fileDialog(FileAction action, int b) override {
        calls.push_back("dialog " + std::string(fileActionTitle(action)) + " " + std::to_string(b));
        return haveDialog;
    }
    void fileAction(FileAction action, int b, const std::string& path) override {
        calls.push_back("path " + std::string(fileActionTitle(action)) + " " + std::to_string(b) +
                        " " + path);
    }
    void saveDefaultBank(int b) override { calls.push_back("default " + std::to_string(b)); }
    void forgetDefaultBank(int b) override { calls.push_back("forget " + std::to_string(b)); }
    void copyPreset() override { calls.push_back("copy"); }
    void pastePreset() override { calls.push_back("paste"); }
    std::string suggestedPath(FileAction, int) override { return "/last/folder/name.vtp"; }
    std::string currentProgramName() override { return "current"; }
    UserPresetView& userPresetView() override { return view; }
    UserPresetView view;
    std::string userPresetFolder() override { return {}; }
    std::vector<kirra::UserPresets::Entry> userPresets() override { return {}; }
    kirra::UserPresets::Result saveUserPreset(const std::string&, bool) override { return {}; }
    kirra::UserPresets::Result loadUserPreset(const std::string&) override { return {}; }
    kirra::UserPresets::Result renameUserPreset(const std::string&, const std::string&,
                                                bool) override {
        return {};
    }
    kirra::UserPresets::Result deleteUserPreset(const std::string&) override { return {}; }

    int bank = 0;
    int preset = 20;
    bool haveDialog = true;
    std::vector<std::string> calls;
};

struct LibraryPage : ::testing::Test {
    LibraryPage() {
        library = frame.addView(std::make_unique<CLibWnd>(layout::kLibraryArea, fake));
    }
    void click(const Rect& box, int modifiers = 0) {
        testing_support::click(frame, box.left + 2, box.top + 2, kirra::gui::kLeftButton,
                               modifiers);
    }
    FakeLibrary fake;
    MyFrame frame{830, 335, 1.0};
    CLibWnd* library;
};

TEST_F(LibraryPage, OpensOnTheCurrentProgramAndSelectsFromTheShownBank) {
    // Program 21 of bank A is in view.
    EXPECT_LE(library->getFirstVisible(), 20);
    EXPECT_GT(library->getFirstVisible() + CLibWnd::kVisibleLines, 20);
    click(library->actionRect(CLibWnd::kBankC));
    EXPECT_EQ(library->getShownBank(), 2);
    EXPECT_EQ(fake.bank, 0);
    click(library->lineRect(0));
    EXPECT_EQ(fake.bank, 2);
    EXPECT_EQ(fake.preset, library->getFirstVisible());
}

TEST_F(LibraryPage, ScrollBarArrowsTrackAndThumb) {
    library->scrollTo(0);
    // The scroll bar is the rightmost column of the list, under the heading.
    Rect firstLine = library->lineRect(0);
    int barX = firstLine.right + 5;
    int top = firstLine.top;
    int bottom = library->lineRect(CLibWnd::kVisibleLines - 1).bottom;
    click({barX, bottom - 3, barX + 1, bottom - 2});  // down arrow
    EXPECT_EQ(library->getFirstVisible(), 1);
    click({barX, top + 1, barX + 1, top + 2});  // up arrow
    EXPECT_EQ(library->getFirstVisible(), 0);
    click({barX, bottom - 20, barX + 1, bottom - 19});  // the track pages down
    EXPECT_EQ(library->getFirstVisible(), CLibWnd::kVisibleLines);
    // The thumb dragged to the end of the track shows the last programs.
    library->scrollTo(0);
    testing_support::drag(frame, barX, top + 12, barX, bottom + 200);
    EXPECT_EQ(library->getFirstVisible(), LibraryOperations::kPrograms - CLibWnd::kVisibleLines);
}

TEST_F(LibraryPage, ActionsActOnTheShownBank) {
    click(library->actionRect(CLibWnd::kBankB));
    click(library->actionRect(CLibWnd::kBankLoad));
    click(library->actionRect(CLibWnd::kBankSave));
    click(library->actionRect(CLibWnd::kBankDefault));
    click(library->actionRect(CLibWnd::kBankDefault), kirra::gui::kControl);
    click(library->actionRect(CLibWnd::kPresetLoad));
    click(library->actionRect(CLibWnd::kPresetSave));
    click(library->actionRect(CLibWnd::kPresetCopy));
    click(library->actionRect(CLibWnd::kPresetPaste));
    std::vector<std::string> expected = {
        "dialog Select bank to load 1",   "dialog Save bank 1",   "default 1", "forget 1",
        "dialog Select preset to load 1", "dialog Save preset 1", "copy",      "paste"};
    EXPECT_EQ(fake.calls, expected);
    EXPECT_FALSE(frame.isModalOpen());
}

TEST_F(LibraryPage, WithoutAFileDialogAPathIsTypedInstead) {
    fake.haveDialog = false;
    click(library->actionRect(CLibWnd::kPresetLoad));
    ASSERT_TRUE(frame.isModalOpen());
    auto* field = dynamic_cast<CPathField*>(frame.getModalView());
    ASSERT_NE(field, nullptr);
    // It starts in the last folder with a name to keep or type over.
    EXPECT_EQ(field->getEntry(), "/last/folder/name.vtp");
    testing_support::typeKeys(frame, "/tmp/a.vtp\x07");
    testing_support::pressKey(frame, Key::kReturn);
    EXPECT_FALSE(frame.isModalOpen());
    ASSERT_EQ(fake.calls.size(), 2u);
    EXPECT_EQ(fake.calls[1], "path Select preset to load 0 /tmp/a.vtp");

    // Escape, or a click outside, leaves everything as it was.
    click(library->actionRect(CLibWnd::kBankSave));
    testing_support::typeKeys(frame, "x");
    testing_support::pressKey(frame, Key::kEscape);
    EXPECT_FALSE(frame.isModalOpen());
    click(library->actionRect(CLibWnd::kBankSave));
    click({5, 5, 6, 6});
    EXPECT_FALSE(frame.isModalOpen());
    EXPECT_EQ(fake.calls.size(), 4u);
}

}  // namespace
