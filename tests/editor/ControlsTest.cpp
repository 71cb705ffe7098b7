// The editor's own controls under synthetic mouse and key events: value fields, stepped fields,
// assignable knobs, meters and type pickers.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "editor/CMeter.h"
#include "editor/CModuleParam.h"
#include "editor/CModuleParamDiscreet.h"
#include "editor/CModuleSelector.h"
#include "editor/CMyNameKnob.h"
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

}  // namespace
