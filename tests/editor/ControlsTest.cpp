// The editor's own controls under synthetic mouse and key events: value fields, stepped fields,
// assignable knobs, meters, type pickers, and the library page against a stand-in for the
// plug-in's library (what each button asks for, the list, and the path field where the desktop
// has no file dialog).

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/CLibWnd.h"
#include "editor/CMeter.h"
#include "editor/CModuleParam.h"
#include "editor/CModuleParamDiscreet.h"
#include "editor/CModuleSelector.h"
#include "editor/CMyNameKnob.h"
#include "editor/CPathField.h"
#include "editor/EditorLayout.h"
#include "editor/MyFrame.h"
#include "gui/PointerEvents.h"
#include "modules/ModuleMath.h"

namespace {

using namespace kirra::editor;
using kirra::ModuleText;
using kirra::gui::Frame;
using kirra::gui::Key;
using kirra::gui::Rect;

using testing_support::click;
using testing_support::drag;
using testing_support::mouseAt;
using testing_support::pressKey;
using testing_support::typeKeys;

// Texts in percent; typed numbers are percent.
struct PercentSource : ValueTextSource {
    void valueText(int, float value, ModuleText& text) override {
        kirra::formatText(text, "%.1f%%", 100.0f * value);
    }
    float textToValue(int, const char* text, float current) override {
        float percent = 0.0f;
        return kirra::parseNumber(text, percent) ? percent / 100.0f : current;
    }
};

struct ChoiceSource : ValueTextSource {
    void valueText(int, float value, ModuleText& text) override {
        kirra::formatText(text, "choice %d", kirra::valueToIndex(value, 5));
    }
    float textToValue(int, const char*, float current) override { return current; }
};

struct Recorder : kirra::gui::ControlListener, KnobListener {
    void valueChanged(kirra::gui::Control* control) override {
        ++changes;
        lastTag = control->getTag();
        lastValue = control->getValue();
    }
    void learnRequested(int tag) override { learnTag = tag; }
    void knobRenamed(int tag, const std::string& name) override {
        renamedTag = tag;
        renamedTo = name;
    }
    int changes = 0;
    int lastTag = -1;
    float lastValue = -1.0f;
    int learnTag = -1;
    int renamedTag = -1;
    std::string renamedTo;
};

struct Controls : ::testing::Test {
    MyFrame frame{830, 1200, 1.0};
    Recorder recorder;
    PercentSource percent;
};

TEST_F(Controls, ModuleParamDragTakes2000PixelsWithShiftAndReanchorsOnIt) {
    auto* field = frame.addView(std::make_unique<CModuleParam>(Rect{100, 600, 300, 611}, &recorder,
                                                               20, "Amount", &percent, 4, 100));
    // (The plain 400 pixels, the value told and shown, and the editing flag are measured on a
    // routing gain, a field of this kind, and on the module panels.)
    field->setValue(0.0f);
    drag(frame, 150, 605, 150, 205, kirra::gui::kShift);
    EXPECT_FLOAT_EQ(field->getValue(), 0.2f);
    // Pressing shift half way re-anchors: 200 coarse pixels, then 200 fine ones.
    field->setValue(0.0f);
    frame.mouseDown(mouseAt(150, 605));
    frame.mouseMoved(mouseAt(150, 405));
    frame.mouseMoved(mouseAt(150, 405, kirra::gui::kLeftButton, kirra::gui::kShift));
    frame.mouseMoved(mouseAt(150, 205, kirra::gui::kLeftButton, kirra::gui::kShift));
    frame.mouseUp(mouseAt(150, 205));
    EXPECT_FLOAT_EQ(field->getValue(), 0.6f);
}

TEST_F(Controls, ModuleParamWheelTypedEntryAndDefault) {
    auto* field = frame.addView(std::make_unique<CModuleParam>(Rect{100, 600, 300, 611}, &recorder,
                                                               20, nullptr, &percent, 4, 100));
    field->setDefaultValue(0.25f);
    field->setValue(0.5f);
    frame.wheel(mouseAt(150, 605), 1.0f);
    EXPECT_NEAR(field->getValue(), 0.51f, 1e-6f);
    frame.wheel(mouseAt(150, 605, 0, kirra::gui::kShift), -1.0f);
    EXPECT_NEAR(field->getValue(), 0.509f, 1e-6f);

    click(frame, mouseAt(250, 605));
    click(frame, mouseAt(250, 605, kirra::gui::kLeftButton, 0, true));
    ASSERT_TRUE(field->isEntering());
    typeKeys(frame, "12.5\x01");
    pressKey(frame, Key::kReturn);
    EXPECT_NEAR(field->getValue(), 0.125f, 1e-6f);
    EXPECT_EQ(field->getText(), "12.5%");

    // Text that means nothing leaves the value as it was.
    click(frame, mouseAt(250, 605, kirra::gui::kLeftButton, 0, true));
    typeKeys(frame, "x");
    pressKey(frame, Key::kReturn);
    EXPECT_NEAR(field->getValue(), 0.125f, 1e-6f);

    click(frame, mouseAt(250, 605, kirra::gui::kLeftButton, kirra::gui::kControl));
    EXPECT_FLOAT_EQ(field->getValue(), 0.25f);
}

TEST_F(Controls, SteppedFieldWrapsBothWays) {
    ChoiceSource choices;
    auto* field = frame.addView(std::make_unique<CModuleParamDiscreet>(
        Rect{100, 600, 300, 611}, &recorder, 30, "Mode", &choices, 2, 5, 5, 100));
    field->setValue(kirra::indexToValue(4, 5));
    click(frame, mouseAt(150, 605));
    EXPECT_EQ(field->getChoice(), 0);
    click(frame, mouseAt(150, 605, kirra::gui::kRightButton));
    EXPECT_EQ(field->getChoice(), 4);
    click(frame, mouseAt(150, 605, kirra::gui::kRightButton));
    EXPECT_EQ(field->getChoice(), 3);
    EXPECT_FLOAT_EQ(recorder.lastValue, kirra::indexToValue(3, 5));

    // Of 16 states only 4 offered: a stored state beyond them steps back into them.
    auto* limited = frame.addView(std::make_unique<CModuleParamDiscreet>(
        Rect{100, 620, 300, 631}, &recorder, 31, "Limit", &choices, 3, 16, 4, 100));
    limited->setValue(kirra::indexToValue(9, 16));
    click(frame, mouseAt(150, 625));
    EXPECT_EQ(limited->getChoice(), 0);
    limited->setValue(kirra::indexToValue(9, 16));
    click(frame, mouseAt(150, 625, kirra::gui::kRightButton));
    EXPECT_EQ(limited->getChoice(), 3);
}

TEST_F(Controls, UnusedAssignableKnobShowsUnusedAndIgnoresTheMouse) {
    auto* knob = frame.addView(std::make_unique<CMyNameKnob>(
        100, &recorder, 4, frame.skin().assignableKnob(), &recorder, 1));
    ModuleText text;
    knob->knobText(text);
    EXPECT_STREQ(text, "KNOB1");
    frame.mouseMoved(mouseAt(120, 250, 0));
    knob->knobText(text);
    EXPECT_STREQ(text, "UNUSED");
    drag(frame, 120, 250, 120, 150);
    click(frame, mouseAt(120, 250, kirra::gui::kRightButton));
    frame.wheel(mouseAt(120, 250), 5.0f);
    EXPECT_EQ(recorder.changes, 0);
    EXPECT_EQ(recorder.learnTag, -1);

    knob->setUsed(true);
    drag(frame, 120, 250, 120, 150);  // 100 of 200 pixels
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f);
    frame.mouseMoved(mouseAt(120, 250, 0));
    knob->knobText(text);
    EXPECT_STREQ(text, "50.0");
    click(frame, mouseAt(120, 250, kirra::gui::kLeftButton, kirra::gui::kControl));
    EXPECT_FLOAT_EQ(knob->getValue(), 0.0f);
    click(frame, mouseAt(120, 250, kirra::gui::kLeftButton, kirra::gui::kControl));
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f);
    // (A used knob's right click asking to learn is followed through the editor in
    // EditorFixture.LearnBlinksTheKnobEvery500Ms.)

    click(frame, mouseAt(120, 250, kirra::gui::kLeftButton, 0, true));
    typeKeys(frame, "Cutoff sweep");
    pressKey(frame, Key::kReturn);
    EXPECT_EQ(recorder.renamedTag, 4);
    EXPECT_EQ(recorder.renamedTo, "Cutoff s");
    frame.mouseExited();
    knob->knobText(text);
    EXPECT_STREQ(text, "Cutoff s");
}

TEST_F(Controls, MeterShowsTheLevelFallsAndHoldsItsPeak) {
    CMeter meter({0, 0, 220, 8}, frame.skin());
    meter.setFalloff(12.0f);
    meter.setHoldTime(1000.0f);
    double now = 0.0;
    meter.update(0.5f, now);
    EXPECT_NEAR(meter.getLevelDb(), -6.02f, 0.01f);
    EXPECT_NEAR(meter.getPeakDb(), -6.02f, 0.01f);
    // Silence: the bar falls 12 dB per second at once, the peak only after the hold time.
    meter.update(0.0f, now + 500.0);
    EXPECT_NEAR(meter.getLevelDb(), -12.02f, 0.01f);
    EXPECT_NEAR(meter.getPeakDb(), -6.02f, 0.01f);
    meter.update(0.0f, now + 1000.0);
    EXPECT_NEAR(meter.getPeakDb(), -6.02f, 0.01f);
    meter.update(0.0f, now + 1500.0);
    EXPECT_NEAR(meter.getPeakDb(), -12.02f, 0.01f);
    EXPECT_NEAR(meter.getLevelDb(), -24.02f, 0.01f);
}

// A full-scale peak also latches the clip mark, which the same click clears.
TEST_F(Controls, InfiniteHoldKeepsThePeakAndClipUntilEitherMeterOfThePairIsClicked) {
    auto* left = frame.addView(std::make_unique<CMeter>(Rect{0, 700, 220, 708}, frame.skin()));
    auto* right = frame.addView(std::make_unique<CMeter>(Rect{0, 720, 220, 728}, frame.skin()));
    left->setLinkedMeter(right);
    right->setLinkedMeter(left);
    left->setHoldTime(-1.0f);
    left->update(1.0f, 0.0);
    right->update(1.0f, 0.0);
    left->update(0.0f, 600000.0);
    EXPECT_NEAR(left->getPeakDb(), 0.0f, 1e-4f);
    EXPECT_LE(left->getLevelDb(), -100.0f);
    EXPECT_TRUE(left->isClipped());
    click(frame, mouseAt(10, 722));
    EXPECT_FLOAT_EQ(left->getPeakDb(), CMeter::kFloorDb);
    EXPECT_FLOAT_EQ(right->getPeakDb(), CMeter::kFloorDb);
    EXPECT_FALSE(left->isClipped() || right->isClipped());
}

// The list it opens is driven in the panel robustness tests.
TEST_F(Controls, SelectorArrowsStopAtTheEnds) {
    auto* selector = frame.addView(
        std::make_unique<CMODSelector>(Rect{65, 43, 282, 54}, &recorder, 81, frame.skin(), 104));
    selector->setValue(kirra::indexToValue(0, 64));
    click(frame, mouseAt(68, 48));  // left arrow at the first type
    EXPECT_EQ(recorder.changes, 0);
    click(frame, mouseAt(278, 48));
    EXPECT_EQ(selector->getType(), 1);
    EXPECT_EQ(recorder.lastTag, 81);
    EXPECT_FLOAT_EQ(recorder.lastValue, kirra::indexToValue(1, 64));
    for (int i = 0; i < 10; ++i)
        click(frame, mouseAt(278, 48));
    EXPECT_EQ(selector->getType(), kirra::kModulatorTypeCount - 1);
}

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

// (A bank button and a line selecting a program are followed through the plug-in in
// EditorFixture.LibraryLineSelectsThatProgram.)
TEST_F(LibraryPage, OpensOnTheCurrentProgram) {
    // Program 21 of bank A is in view.
    EXPECT_LE(library->getFirstVisible(), 20);
    EXPECT_GT(library->getFirstVisible() + CLibWnd::kVisibleLines, 20);
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
