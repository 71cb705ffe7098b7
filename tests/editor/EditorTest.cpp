// The editor on a real plug-in, without a window: what the controls write, how parameter changes
// reach the controls, pages and panels, and the periodic work.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

#include "editor/CLibWnd.h"
#include "editor/Editor.h"
#include "editor/EditorFixture.h"
#include "editor/EditorLayout.h"
#include "editor/KirraFrame.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleMath.h"
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

TEST_F(EditorFixture, RenamingAKnobStoresItsEightCharacters) {
    plugin().setParameter(param::kSlotSource1, indexToValue(9, param::kSourceStates));
    tickAt(0);
    editor->knobRenamed(param::kKnob1 + 5, "Wah");
    EXPECT_EQ(kirra::valueToIndex(value(param::kKnobName1 + 40), 128), 'W');
    EXPECT_EQ(kirra::valueToIndex(value(param::kKnobName1 + 43), 128), 0);
    tickAt(10);
    EXPECT_EQ(frame().assignableKnob(5)->getName(), "Wah");
}

TEST_F(EditorFixture, LibraryLineSelectsThatProgram) {
    ASSERT_NE(frame().library(), nullptr);
    CLibWnd& library = *frame().library();
    // Bank B, its fourth program.
    kirra::gui::Rect bankB = library.actionRect(CLibWnd::kBankB);
    click(bankB.left + 2, bankB.top + 2);
    EXPECT_EQ(library.getShownBank(), 1);
    kirra::gui::Rect line = library.lineRect(3);
    click(line.left + 20, line.top + 3);
    EXPECT_EQ(plugin().getPrograms().getCurrentBank(), 1);
    EXPECT_EQ(plugin().getPrograms().getCurrentPreset(), 3);
    tickAt(0);  // the program selection asks for everything to be shown again
    EXPECT_NE(frame().library(), nullptr);
    frame().wheel(mouseAt(line.left + 20, line.top + 3), -100.0f);
    EXPECT_EQ(frame().library()->getFirstVisible(), 64 - CLibWnd::kVisibleLines);
}

TEST_F(EditorFixture, ChangesPostedFromAnotherThreadWhileTicking) {
    std::atomic<bool> stop{false};
    std::thread automation([&] {
        for (int i = 0; !stop; ++i)
            plugin().setParameter(param::kInput + i % 3, (i % 100) / 100.0f);
    });
    for (int64_t ms = 0; ms < 2000; ms += 5)
        tickAt(ms);
    stop = true;
    automation.join();
    tickAt(3000);
    for (int knob = 0; knob < 3; ++knob) {
        EXPECT_FLOAT_EQ(frame().mainKnob(knob)->getValue(), value(param::kInput + knob));
    }
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

}  // namespace
