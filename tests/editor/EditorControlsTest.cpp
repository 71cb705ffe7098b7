// The controls of the editor offscreen on a real plug-in: the pointer's help, the keys of the
// control under the pointer, and which changes the host records (automated) and which only set
// the plug-in.

#include <gtest/gtest.h>

#include <string>

#include "editor/CModuleParam.h"
#include "editor/Editor.h"
#include "editor/EditorFixture.h"
#include "editor/EditorTags.h"
#include "editor/KirraFrame.h"
#include "editor/panels/CompExpPanel.h"
#include "editor/plots/CCompExpPlot.h"
#include "engine/ParameterIndex.h"
#include "gui/Frame.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"
#include "operators/effects/CompExp.h"

namespace {

using namespace kirra;
using editor_tests::EditorFixture;
using editor_tests::PanelFixture;
using testing_support::centreOf;
using testing_support::mouseAt;

struct EditorControls : EditorFixture {
    gui::Control& control(int tag) {
        gui::Control* found = frame().findControl(tag);
        EXPECT_NE(found, nullptr) << "no control with tag " << tag;
        return *found;
    }
    void clickTag(int tag, int buttons = gui::kLeftButton) { clickControl(&control(tag), buttons); }
    void wheel(int tag, float steps) {
        const gui::Rect& rect = control(tag).getRect();
        frame().wheel(mouseAt(rect.right - 3, (rect.top + rect.bottom) / 2), steps);
    }
    // The pointer comes to rest on a point; the help shows after its delay, not before.
    std::string restOn(gui::Point where) {
        frame().mouseMoved(mouseAt(where, 0));
        tick();
        tickAt(nowMs + gui::Frame::kTooltipDelayMs / 2);
        EXPECT_FALSE(frame().isTooltipShown());
        tickAt(nowMs + gui::Frame::kTooltipDelayMs);
        return frame().tooltipText();
    }
    void press(gui::Key key, int modifiers = 0) {
        testing_support::pressKey(frame(), key, modifiers);
    }
};

TEST_F(EditorControls, HelpNamesTheControlItsValueWithUnitAndItsGestures) {
    std::string help = restOn(centreOf(frame().mainKnob(0)->getRect()));
    EXPECT_NE(help.find("Input"), std::string::npos) << help;
    EXPECT_NE(help.find("dB"), std::string::npos) << help;
    EXPECT_NE(help.find("drag"), std::string::npos) << help;
    // Moving on hides it; a click too.
    frame().mouseMoved(mouseAt(5, 5, 0));
    EXPECT_FALSE(frame().isTooltipShown());
    // A module's field says which module it belongs to.
    showPage(2);
    help = restOn(centreOf(frame().operatorPanel()->fields()[0]->getRect()));
    EXPECT_EQ(help.find("OP1 (GAIN)"), 0u) << "[" << help << "]";
}

TEST_F(EditorControls, TheControlUnderThePointerTakesStepsFineStepsPagesAndEnds) {
    gui::Control* mix = frame().mainKnob(1);
    frame().mouseMoved(mouseAt(centreOf(mix->getRect()), 0));
    press(gui::Key::kHome);
    EXPECT_FLOAT_EQ(value(param::kMix), 0.0f);
    press(gui::Key::kUp);
    const float step = value(param::kMix);
    press(gui::Key::kUp, gui::kShift);
    const float fineStep = value(param::kMix) - step;
    press(gui::Key::kPageUp);
    EXPECT_NEAR(value(param::kMix) - step - fineStep, 10 * step, 1e-5f);
    EXPECT_GT(step, 0.0f);
    EXPECT_NEAR(fineStep, step / 10, 1e-5f);
    press(gui::Key::kEnd);
    EXPECT_FLOAT_EQ(value(param::kMix), 1.0f);
    EXPECT_TRUE(automated(param::kMix));
    // Return types a value.
    press(gui::Key::kReturn);
    EXPECT_EQ(frame().getFocusView(), mix);
    type("25");
    EXPECT_NEAR(value(param::kMix), 0.25f, 1e-4f);
}

TEST_F(EditorControls, ChoicesStepWithoutWrapping) {
    showPage(2);
    frame().mouseMoved(mouseAt(centreOf(control(param::kOutLimiter).getRect()), 0));
    press(gui::Key::kHome);
    const float first = value(param::kOutLimiter);
    press(gui::Key::kDown);
    EXPECT_FLOAT_EQ(value(param::kOutLimiter), first);
    press(gui::Key::kEnd);
    const float last = value(param::kOutLimiter);
    press(gui::Key::kUp);
    EXPECT_FLOAT_EQ(value(param::kOutLimiter), last);
    EXPECT_GT(last, first);
}

TEST_F(EditorControls, TheTempoLockedToTheHostLooksLockedTakesNoEditAndSaysWhy) {
    setState(param::kTempoSync, 1, param::kTempoSyncStates);
    showPage(2);
    tick();
    auto* tempo = dynamic_cast<editor::CModuleParam*>(frame().findControl(param::kTempo));
    ASSERT_NE(tempo, nullptr);
    EXPECT_TRUE(tempo->isLocked());
    const float before = value(param::kTempo);
    const gui::Rect rect = tempo->getRect();
    auto dragUp = [&] { drag(rect.right - 5, rect.top + 4, rect.right - 5, rect.top - 96); };
    dragUp();
    frame().mouseMoved(mouseAt(centreOf(rect), 0));
    press(gui::Key::kUp);
    EXPECT_FLOAT_EQ(value(param::kTempo), before);
    EXPECT_FALSE(automated(param::kTempo));
    EXPECT_NE(restOn(centreOf(rect)).find("locked to the host"), std::string::npos);
    setState(param::kTempoSync, 0, param::kTempoSyncStates);
    tick();
    EXPECT_FALSE(tempo->isLocked());
    dragUp();
    EXPECT_GT(value(param::kTempo), before);
    EXPECT_TRUE(automated(param::kTempo));
}

TEST_F(PanelFixture, TheCompressorPlotShowsTheInputLevelOnlyWhileAudioRuns) {
    setOperatorType(kCompExp);
    auto& panel = operatorPanel<editor::CompExpPanel>();
    for (int idle = 0; idle < 25; ++idle)
        tick();
    EXPECT_FALSE(panel.plot()->showsInputLevel());
    process(4096, 0.5f);
    tick();
    EXPECT_TRUE(panel.plot()->showsInputLevel());
    for (int idle = 0; idle < 25; ++idle)
        tick();
    EXPECT_FALSE(panel.plot()->showsInputLevel());
}

TEST_F(EditorControls, PreferencesSetThePluginWithoutAutomation) {
    setState(param::kTempoSync, 0, param::kTempoSyncStates);
    showPage(2);
    // (How a choice of a few offered states steps is Controls.SteppedFieldWrapsBothWays.)
    clickTag(param::kOutLimiter);
    clickTag(param::kTempoSync);
    EXPECT_EQ(valueToIndex(value(param::kTempoSync), 4), 1);
    wheel(param::kPpqOffset, 10.0f);
    wheel(param::kMeterHold, 10.0f);
    wheel(param::kMeterFalloff, 10.0f);
    clickTag(editor::tags::kSaveAsDefault);
    EXPECT_FLOAT_EQ(value(param::kMeterHold), 0.35f);
    EXPECT_FLOAT_EQ(control(editor::tags::kSaveAsDefault).getValue(), 1.0f);
    EXPECT_TRUE(host->script().automation.empty());
}

TEST_F(EditorControls, PreviewChoiceReachesTheModulesAndIsKeptByTheEngine) {
    showPage(3);
    clickTag(editor::tags::kModulationPreview);
    EXPECT_EQ(plugin().getModulationPreview(), 1);
    clickTag(editor::tags::kModulationPreview, gui::kRightButton);
    clickTag(editor::tags::kModulationPreview, gui::kRightButton);
    EXPECT_EQ(plugin().getModulationPreview(), 2);
    {
        platform::EngineLock lock(plugin().getEngineMutex());
        EXPECT_EQ(plugin().getOperator(0)->getPreviewMode(), 2);
        EXPECT_EQ(plugin().getModulator(3)->getPreviewMode(), 2);
    }
    EXPECT_TRUE(host->script().automation.empty());
    // A reopened editor shows the choice it kept.
    editor->openOffscreen();
    EXPECT_FLOAT_EQ(control(editor::tags::kModulationPreview).getValue(), indexToValue(2, 3));
}

}  // namespace
