// The editor on a real plug-in, without a window: what the controls write, how parameter changes
// reach the controls, pages and panels, and the periodic work. And its zoom: the user's choice
// and its fallbacks, the size the host is told, and that it stays out of what the host saves.

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <string>

#include "editor/CLibWnd.h"
#include "editor/Editor.h"
#include "editor/EditorFixture.h"
#include "editor/EditorLayout.h"
#include "editor/EditorTags.h"
#include "editor/EditorZoom.h"
#include "editor/KirraFrame.h"
#include "engine/ParameterIndex.h"
#include "engine/ProgramLibrary.h"
#include "gui/DesktopScale.h"
#include "gui/Image.h"
#include "modules/ModuleMath.h"
#include "support/HostCommand.h"
#include "support/InProcessHost.h"
#include "support/Signals.h"

namespace {

using namespace kirra::editor;
using kirra::indexToValue;
namespace param = kirra::param;

using editor_tests::EditorFixture;
using editor_tests::mouseAt;

TEST_F(EditorFixture, UnusedKnobIgnoresParameterChangesUntilASlotReadsIt) {
    plugin().setParameter(param::kKnob1 + 2, 0.7f);
    tickAt(0);
    CMyNameKnob* knob = frame().assignableKnob(2);
    EXPECT_FALSE(knob->isUsed());
    EXPECT_FLOAT_EQ(knob->getValue(), 0.0f);
    // Slot 5 reads knob 3 (source 6).
    plugin().setParameter(param::kSlotSource1 + 4, indexToValue(6, param::kSourceStates));
    tickAt(10);
    EXPECT_TRUE(knob->isUsed());
    EXPECT_FLOAT_EQ(knob->getValue(), 0.7f);
    plugin().setParameter(param::kKnob1 + 2, 0.2f);
    tickAt(20);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.2f);
}

TEST_F(EditorFixture, SlotAndPageButtonsSwitchWhatIsShown) {
    click(layout::kOperatorButtons[2].left + 5, layout::kOperatorButtons[2].top + 5);
    EXPECT_FLOAT_EQ(value(param::kCurrentOperator), indexToValue(2, 4));
    // The editor's page parameters, not host parameters.
    EXPECT_FALSE(automated(param::kCurrentOperator));
    tickAt(0);
    EXPECT_EQ(frame().shownOperator(), 2);
    EXPECT_EQ(frame().operatorSelector()->getTag(), param::kOperatorType1 + 2);
    EXPECT_EQ(frame().operatorPanel()->access().getSlot(), 2);

    click(layout::kPageButtons[0].left + 5, layout::kPageButtons[0].top + 5);
    tickAt(10);
    EXPECT_EQ(frame().shownPage(), 0);
    EXPECT_NE(frame().findControl(param::kOpToOp11 + 1), nullptr);
    EXPECT_EQ(frame().library(), nullptr);
}

TEST_F(EditorFixture, BypassedModuleBlinksAtOneCyclePerSecond) {
    plugin().setParameter(param::kOperatorBypass1, indexToValue(1, 2));
    tickAt(0);
    CModuleButton* button = frame().operatorButton(0);
    ASSERT_TRUE(button->isBypassed());
    int alternations = 0;
    bool previous = button->isBlinkAlternate();
    for (int64_t ms = 50; ms <= 2000; ms += 10) {
        tickAt(ms);
        if (button->isBlinkAlternate() != previous) ++alternations;
        previous = button->isBlinkAlternate();
    }
    // Two seconds of idle calls every 10 ms: work done on every call would blink faster.
    EXPECT_EQ(alternations, 4);
}

TEST_F(EditorFixture, MetersFollowTheAudio) {
    plugin().suspend();
    host->process(testing_support::stereo(testing_support::sine(1000.0, 44100.0, 4096, 0.5)));
    tickAt(0);
    EXPECT_NEAR(frame().meter(0)->getLevelDb(), -6.02f, 0.1f);
    EXPECT_NEAR(frame().meter(3)->getLevelDb(), -6.02f, 0.5f);
    plugin().setParameter(param::kMeterHold, 1.0f);
    tickAt(100);
    tickAt(100000);
    EXPECT_NEAR(frame().meter(0)->getPeakDb(), -6.02f, 0.1f);
}

TEST_F(EditorFixture, LearnBlinksTheKnobEvery500Ms) {
    int x = layout::kAssignableKnobX[0] + 21;
    plugin().setParameter(param::kSlotSource1, indexToValue(4, param::kSourceStates));
    tickAt(0);
    click(x, 258, kirra::gui::kRightButton);
    EXPECT_EQ(editor->getLearnState(), 2);
    EXPECT_EQ(plugin().getMidiLearn().getState(), 2);
    tickAt(100);
    EXPECT_FALSE(frame().assignableKnob(0)->isBlinkDimmed());
    tickAt(600);
    EXPECT_TRUE(frame().assignableKnob(0)->isBlinkDimmed());
    editor->learnStateChanged(0, 7);  // the plug-in saw a controller
    tickAt(1100);
    tickAt(1600);
    EXPECT_FALSE(frame().assignableKnob(0)->isBlinkDimmed());
}

TEST_F(EditorFixture, LibraryLineSelectsThatProgram) {
    ASSERT_NE(frame().library(), nullptr);
    CLibWnd& library = *frame().library();
    // Bank B, its fourth program.
    kirra::gui::Rect bankB = library.actionRect(CLibWnd::kBankB);
    click(bankB.left + 2, bankB.top + 2);
    EXPECT_EQ(library.getShownBank(), 1);
    EXPECT_EQ(plugin().getPrograms().getCurrentBank(), 0);  // shown, not yet chosen
    kirra::gui::Rect line = library.lineRect(3);
    click(line.left + 20, line.top + 3);
    EXPECT_EQ(plugin().getPrograms().getCurrentBank(), 1);
    EXPECT_EQ(plugin().getPrograms().getCurrentPreset(), 3);
    tickAt(0);  // the program selection asks for everything to be shown again
    EXPECT_NE(frame().library(), nullptr);
    frame().wheel(mouseAt(line.left + 20, line.top + 3), -100.0f);
    EXPECT_EQ(frame().library()->getFirstVisible(), 64 - CLibWnd::kVisibleLines);
}

TEST(EditorWithoutDisplay, OpenAnswersFalseAndThePluginStillProcesses) {
    const char* display = std::getenv("DISPLAY");
    std::string saved = display != nullptr ? display : "";
    unsetenv("DISPLAY");
    testing_support::InProcessHost host;
    auto* editor = new Editor(host.plugin());
    host.plugin().attachEditor(editor, editor);
    EXPECT_FALSE(editor->open(nullptr));
    EXPECT_FALSE(editor->isOpen());
    editor->close();
    editor->idle();
    testing_support::Stereo output =
        host.process(testing_support::stereo(testing_support::sine(440.0, 44100.0, 512, 0.5)));
    EXPECT_GT(testing_support::peak(output.left), 0.1f);
    if (display != nullptr) setenv("DISPLAY", saved.c_str(), 1);
}

TEST(ZoomSetting, AnyScaleFallsToAStepAtOrBelowIt) {
    int previous = zoom::kMinPercent;
    for (double scale = 0.0; scale < 4.0; scale += 0.01) {
        const int percent = zoom::percentOfStep(zoom::stepBelow(scale));
        EXPECT_GE(percent, previous) << scale;  // never smaller for a larger scale
        EXPECT_LE(percent, std::max(scale * 100.0 + 1e-6, 100.0)) << scale;
        EXPECT_EQ(zoom::parsePercent(std::to_string(percent)), percent);
        previous = percent;
    }
    // What a desktop may say: nothing, nonsense, far too much.
    for (double scale : {-1.0, 0.0, std::numeric_limits<double>::quiet_NaN()})
        EXPECT_EQ(zoom::stepBelow(scale), 0) << scale;
    EXPECT_EQ(zoom::percentOfStep(zoom::stepBelow(40.0)), zoom::kMaxPercent);
    for (const char* stored : {"", "abc", "130", "99", "225", "-100", "150%", "1e9"})
        EXPECT_EQ(zoom::parsePercent(stored), -1) << stored;
}

TEST(ZoomSetting, DesktopScaleFromGdkScaleElseTheResourcesDpi) {
    EXPECT_DOUBLE_EQ(kirra::gui::desktopScaleFrom("2", "Xft.dpi:\t96\n"), 2.0);
    EXPECT_DOUBLE_EQ(kirra::gui::desktopScaleFrom(nullptr, "Xft.antialias:\t1\nXft.dpi:\t144\n"),
                     1.5);
    EXPECT_DOUBLE_EQ(kirra::gui::desktopScaleFrom("two", "Xft.dpi:\t144\n"), 0.0);
    EXPECT_DOUBLE_EQ(kirra::gui::desktopScaleFrom(nullptr, "Xft.dpi: lots\n"), 0.0);
    EXPECT_DOUBLE_EQ(kirra::gui::desktopScaleFrom(nullptr, nullptr), 0.0);
}

TEST(ZoomSetting, TheHostsScreenshotTakesAZoomStep) {
    const std::string path = ::testing::TempDir() + "kirra-screenshot-200.png";
    const auto shot = testing_support::runKirraCommand("screenshot --quiet --page 2 --zoom 200 " +
                                                       testing_support::shellQuoted(path));
    ASSERT_EQ(shot.status, 0) << shot.output;
    const kirra::gui::Image image = kirra::gui::Image::readPng(path);
    EXPECT_EQ(image.width(), 1660);
    EXPECT_EQ(image.height(), 670);
    for (const char* bad : {"130", "125.5", "250", "big"}) {
        EXPECT_EQ(testing_support::runKirraCommand("screenshot --zoom " + std::string(bad) + " " +
                                                   testing_support::shellQuoted(path))
                      .status,
                  2)
            << bad;
    }
}

TEST_F(EditorFixture, TheStoredZoomSizesTheHostsRectangleAndBadValuesFallBack) {
    const auto& store = plugin().getLibrary().getStore();
    vst::ERect* rect = nullptr;
    auto sizeOf = [&] {
        editor->close();
        EXPECT_TRUE(editor->getRect(&rect));
        return std::make_pair(rect->right - rect->left, rect->bottom - rect->top);
    };
    ASSERT_TRUE(store.writeText(zoom::kStoreName, "175"));
    EXPECT_EQ(sizeOf(), std::make_pair(1453, 586));
    for (const char* bad : {"garbage", "300", "0"}) {
        ASSERT_TRUE(store.writeText(zoom::kStoreName, bad));
        EXPECT_EQ(sizeOf(), std::make_pair(830, 335)) << bad;  // GDK_SCALE is 1 in the tests
        // On a desktop of 160 % the same falls back to its step.
        EXPECT_EQ(zoom::loadPercent(store, 1.6), 150) << bad;
    }
    ASSERT_TRUE(store.remove(zoom::kStoreName));
    EXPECT_EQ(zoom::loadPercent(store, 1.6), 150);
}

TEST_F(EditorFixture, TheZoomChoiceIsTheUsersAndNotTheProgramsOrTheChunks) {
    showPage(2);
    const std::vector<uint8_t> chunkBefore = testing_support::chunkOf(plugin());
    kirra::gui::Control* choice = frame().findControl(tags::kZoom);
    ASSERT_NE(choice, nullptr);
    click(choice->getRect());  // 100 -> 125 %
    tick();
    EXPECT_DOUBLE_EQ(frame().zoom(), 1.25);
    EXPECT_EQ(testing_support::chunkOf(plugin()), chunkBefore);
    EXPECT_TRUE(host->script().automation.empty());
    // Kept for the user, for every instance to open with, whatever the desktop says.
    EXPECT_EQ(zoom::loadPercent(plugin().getLibrary().getStore(), 2.0), 125);
}

}  // namespace
