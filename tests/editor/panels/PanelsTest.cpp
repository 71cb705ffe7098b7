// What the panels do beyond showing values: mode switches that convert related times, controls
// whose texts follow another parameter, the reversed pan drag, and the values a slot gets back
// when a type is picked again. And panels under careless use: every control of every panel
// pushed past its ends and fed nonsense, a module replaced under an open panel, the type list
// scrolled to its end. (The host changing types on its own thread while audio runs is in
// EditorUnderHostChangesTest.)

#include <gtest/gtest.h>

#include <cmath>

#include "editor/CModuleParam.h"
#include "editor/EditorFixture.h"
#include "editor/EditorLayout.h"
#include "editor/panels/ADSRPanel.h"
#include "editor/panels/CompExpPanel.h"
#include "editor/panels/DelayLinePanel.h"
#include "editor/panels/EQPanel.h"
#include "editor/panels/FilterPanel.h"
#include "editor/panels/LFOPanel.h"
#include "engine/EditHistory.h"
#include "engine/ParameterIndex.h"
#include "gui/ListMenu.h"
#include "modulators/ADSR.h"
#include "modulators/LFO.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"
#include "modules/NoteValues.h"
#include "operators/effects/CompExp.h"
#include "operators/effects/DelayLine.h"

namespace {

using namespace kirra;
using editor_tests::PanelFixture;

class Panels : public PanelFixture {
  protected:
    // A 120 BPM host: the tempo the conversions use.
    Panels() { process(512); }
};

TEST_F(Panels, TheLFOModeSwitchKeepsThePeriod) {
    setModulatorType(kLFO);
    auto& panel = modulatorPanel<editor::LFOPanel>();
    ASSERT_EQ(valueToIndex(modulatorValue(LFO::kMode), 2), LFO::kRhythmMode);
    // "1/1" at 120 BPM is 0.5 Hz.
    clickControl(panel.controlAt(LFO::kMode));
    EXPECT_EQ(valueToIndex(modulatorValue(LFO::kMode), 2), LFO::kHertzMode);
    EXPECT_NEAR(LFO::rateHz(modulatorValue(LFO::kRate)), 0.5f, 1e-4f);
    // The mode change is recorded by the host, the converted rate is not.
    EXPECT_TRUE(automated(param::modulatorParameter(0, LFO::kMode)));
    EXPECT_FALSE(automated(param::modulatorParameter(0, LFO::kRate)));
    tick();
    EXPECT_EQ(panel.rateField()->getMode(), LFO::kHertzMode);
    EXPECT_EQ(panel.rateField()->getText(), "0.50Hz");

    // 1.48 Hz lies nearest the half-note triplet "1/3" (1.5 Hz) at 120 BPM, before "3/8" (1.33).
    setModulator(LFO::kRate, std::sqrt((1.48f - 0.01f) / 29.99f));
    tick();
    clickControl(panel.controlAt(LFO::kMode));
    tick();
    EXPECT_STREQ(noteValueName(valueToIndex(modulatorValue(LFO::kRate), kNoteValueCount)), "1/3");
    EXPECT_EQ(panel.rateField()->getText(), "1/3");
}

TEST_F(Panels, TheADSRModeSwitchConvertsAllFiveTimes) {
    setModulatorType(kADSR);
    auto& panel = modulatorPanel<editor::ADSRPanel>();
    setModulator(ADSR::kMode, indexToValue(ADSR::kAbsoluteMode, 2));
    setModulator(ADSR::kDelay, 0.0f);
    setModulator(ADSR::kAttack, 0.5f);   // 0.5 s: a quarter note
    setModulator(ADSR::kHold, 0.24f);    // nearest an eighth (0.25 s)
    setModulator(ADSR::kDecay, 1.0f);    // 1 s: a half note
    setModulator(ADSR::kRelease, 0.2f);  // 2 s: a whole note
    tick();
    EXPECT_EQ(panel.segmentField(1)->getText(), "500ms");
    clickControl(panel.controlAt(ADSR::kMode));
    tick();
    auto entry = [this](int position) {
        return ADSR::divisionName(valueToIndex(modulatorValue(position), ADSR::kDivisionCount));
    };
    EXPECT_STREQ(entry(ADSR::kDelay), "0");
    EXPECT_STREQ(entry(ADSR::kAttack), "1/4");
    EXPECT_STREQ(entry(ADSR::kHold), "1/8");
    EXPECT_STREQ(entry(ADSR::kDecay), "1/2");
    EXPECT_STREQ(entry(ADSR::kRelease), "1/1");
    EXPECT_EQ(panel.segmentField(1)->getMode(), ADSR::kTempoMode);
    EXPECT_EQ(panel.segmentField(1)->getText(), "1/4");
    // And back: the note values become times again (release in tenths of its 10 s scale).
    clickControl(panel.controlAt(ADSR::kMode));
    EXPECT_NEAR(modulatorValue(ADSR::kAttack), 0.5f, 1e-6f);
    EXPECT_NEAR(modulatorValue(ADSR::kRelease), 0.2f, 1e-6f);
}

TEST_F(Panels, TheDelayModeSwitchConvertsBothTimesAndTellsTheHost) {
    setOperatorType(kDelayLine);
    auto& panel = operatorPanel<editor::DelayLinePanel>();
    setOperator(DelayLine::kTimeRight, indexToValue(4, kNoteValueCount));  // "1/2"
    tick();
    EXPECT_EQ(panel.timeField(0)->getText(), "1/4");
    clickControl(panel.controlAt(DelayLine::kMode));
    tick();
    // A quarter at 120 BPM is 0.5 s of the 4 s range, a half 1 s.
    EXPECT_NEAR(operatorValue(DelayLine::kTimeLeft), 0.125f, 1e-6f);
    EXPECT_NEAR(operatorValue(DelayLine::kTimeRight), 0.25f, 1e-6f);
    EXPECT_TRUE(automated(param::operatorParameter(0, DelayLine::kTimeLeft)));
    EXPECT_TRUE(automated(param::operatorParameter(0, DelayLine::kTimeRight)));
    EXPECT_EQ(panel.timeField(0)->getMode(), DelayLine::kTimeBased);
    EXPECT_EQ(panel.timeField(0)->getText(), "500.0ms");
    // The host switching the mode converts nothing.
    setOperator(DelayLine::kMode, indexToValue(DelayLine::kTempoBased, 2));
    tick();
    EXPECT_NEAR(operatorValue(DelayLine::kTimeLeft), 0.125f, 1e-6f);
}

TEST_F(Panels, TextsFollowTheParametersTheyDependOn) {
    setOperatorType(kEQ);
    auto& eq = operatorPanel<editor::EQPanel>();
    EXPECT_EQ(eq.qField(0)->getText(), "0.35");  // a shelf's Q at 0
    setOperator(2, indexToValue(1, 3));          // band A peaking
    tick();
    EXPECT_EQ(eq.qField(0)->getMode(), 1);
    EXPECT_EQ(eq.qField(0)->getText(), "0.05");
    EXPECT_EQ(eq.qField(1)->getText(), "0.35");

    setOperatorType(kCompExp);
    auto& comp = operatorPanel<editor::CompExpPanel>();
    setOperator(CompExp::kRatio, 0.5f);
    tick();
    EXPECT_EQ(comp.ratioField()->getText(), "2.00:1");
    setOperator(CompExp::kType, indexToValue(CompExp::kExpand, 4));
    tick();
    EXPECT_EQ(comp.ratioField()->getText(), "3.00:1");
}

TEST_F(Panels, PanRDragsTheOtherWayRound) {
    setOperatorType(kDelayLine);
    gui::Control* panRight = frame().operatorPanel()->controlAt(DelayLine::kPanRight);
    gui::Control* panLeft = frame().operatorPanel()->controlAt(DelayLine::kPanLeft);
    setOperator(DelayLine::kPanRight, 0.5f);
    setOperator(DelayLine::kPanLeft, 0.5f);
    tick();
    const gui::Rect rect = panRight->getRect();
    const int y = (rect.top + rect.bottom) / 2;
    // 40 pixels to the right and 60 up: a quarter of the range, downwards.
    drag(rect.right - 5, y, rect.right + 35, y - 60);
    EXPECT_NEAR(operatorValue(DelayLine::kPanRight), 0.25f, 1e-6f);
    const gui::Rect left = panLeft->getRect();
    drag(left.right - 5, y, left.right - 5, y - 100);
    EXPECT_NEAR(operatorValue(DelayLine::kPanLeft), 0.75f, 1e-6f);
}

TEST_F(Panels, PickingATypeAgainGivesItsValuesBack) {
    const gui::Rect& picker = editor::layout::kOperatorSelector;
    // The right arrow: GAIN to BIQUAD.
    click(picker.right - 4, picker.top + 5);
    ASSERT_EQ(plugin().getOperatorType(0), kBiquad);
    EXPECT_TRUE(automated(param::kOperatorType1));
    setOperator(0, 0.3f);
    setOperator(6, 0.8f);
    click(picker.right - 4, picker.top + 5);  // SVF, from its defaults
    ASSERT_EQ(plugin().getOperatorType(0), kSVF);
    EXPECT_FLOAT_EQ(operatorValue(0), 1.0f);
    click(picker.left + 4, picker.top + 5);  // back to BIQUAD
    ASSERT_EQ(plugin().getOperatorType(0), kBiquad);
    EXPECT_FLOAT_EQ(operatorValue(0), 0.3f);
    EXPECT_FLOAT_EQ(operatorValue(6), 0.8f);
    tick();
    EXPECT_FLOAT_EQ(frame().operatorPanel()->controlAt(0)->getValue(), 0.3f);
    {
        platform::EngineLock lock(plugin().getEngineMutex());
        EXPECT_FLOAT_EQ(plugin().getOperator(0)->getBaseValue(0), 0.3f);
    }
}

// The host replaces the module under a drag: the drag's gesture still ends, so the edit history
// keeps recording and undoing.
TEST_F(Panels, ADragCutShortByARebuiltPanelStillEndsItsGesture) {
    const gui::Rect field = frame().operatorPanel()->controlAt(0)->getRect();
    const int x = field.right - 5;
    const int y = (field.top + field.bottom) / 2;
    frame().mouseDown(testing_support::mouseAt(x, y, gui::kLeftButton));
    frame().mouseMoved(testing_support::mouseAt(x, y - 40, gui::kLeftButton));
    setOperatorType(kBiquad);
    frame().mouseUp(testing_support::mouseAt(x, y - 40, 0));

    EditHistory& history = plugin().getEditHistory();
    const int steps = history.undoSteps();
    click(editor::layout::kOperatorSelector.right - 4, editor::layout::kOperatorSelector.top + 5);
    EXPECT_EQ(history.undoSteps(), steps + 1);
    EXPECT_TRUE(history.undo());
    EXPECT_EQ(plugin().getOperatorType(0), kBiquad);
}

class PanelRobustness : public PanelFixture {
  protected:
    // Every control of a panel: the wheel far beyond both ends, nonsense typed into fields.
    void abuseControls(editor::ModulePanel& panel) {
        for (int position = 0; position < Module::kMaxPositions; ++position) {
            gui::Control* control = panel.controlAt(position);
            if (control == nullptr) continue;
            const gui::Rect& rect = control->getRect();
            for (float steps : {400.0f, -400.0f, 1e30f}) {
                frame().wheel(editor_tests::mouseAt(rect.left + 2, rect.top + 2), steps);
                const float value = plugin().getParameter(control->getTag());
                ASSERT_TRUE(value >= 0.0f && value <= 1.0f) << "tag " << control->getTag();
            }
            auto* field = dynamic_cast<editor::CModuleParam*>(control);
            if (field == nullptr) continue;
            for (const char* typed : {"", "nonsense", "-1e38", "1e38", "nan", "-oo", "99999k",
                                      "oo:1", ":", "L:", "R:999", "-"}) {
                field->startEntry(typed);
                field->commitEntry();
                const float value = plugin().getParameter(field->getTag());
                ASSERT_TRUE(value >= 0.0f && value <= 1.0f)
                    << "tag " << field->getTag() << " after \"" << typed << "\"";
                ASSERT_FALSE(field->getText().empty()) << "tag " << field->getTag();
            }
        }
    }
};

TEST_F(PanelRobustness, EveryControlStaysInRangeWhateverItIsFed) {
    for (int type = 0; type < kOperatorTypeCount; ++type) {
        setOperatorType(type);
        abuseControls(*frame().operatorPanel());
        tick();
    }
    for (int type = 0; type < kModulatorTypeCount; ++type) {
        setModulatorType(type);
        abuseControls(*frame().modulatorPanel());
        tick();
    }
}

TEST_F(PanelRobustness, APanelWhoseModuleWasReplacedWaitsForItsRebuild) {
    setOperatorType(kFormant);
    editor::ModulePanel* stale = frame().operatorPanel();
    gui::Control* morph = stale->controlAt(0);
    // The host replaces the module; the editor has not taken the change yet.
    plugin().setParameter(param::kOperatorType1, indexToValue(kDelayLine, kModuleTypeStates));
    stale->idle();
    auto* field = dynamic_cast<editor::CModuleParam*>(morph);
    ASSERT_NE(field, nullptr);
    field->refreshText();
    EXPECT_EQ(field->getText(), "");
    stale->parameterChanged(param::operatorParameter(0, 0), 0.5f);
    process(512);
    tick();
    EXPECT_EQ(frame().operatorPanel()->getType(), kDelayLine);
    EXPECT_NE(frame().operatorPanel()->controlAt(8), nullptr);
}

TEST_F(PanelRobustness, APanelRebuiltDuringADragLeavesItsModuleNotEditing) {
    setOperatorType(kBiquad);
    auto isEditing = [this] {
        platform::EngineLock lock(plugin().getEngineMutex());
        return plugin().getOperator(0)->isEditing();
    };
    const gui::Rect rect = frame().operatorPanel()->controlAt(0)->getRect();
    frame().mouseDown(editor_tests::mouseAt(rect.right - 4, rect.top + 4));
    ASSERT_TRUE(isEditing());
    // The host shows the same slot again: the panel is rebuilt under the pointer.
    plugin().setParameter(param::kCurrentOperator, indexToValue(0, 4));
    tick();
    EXPECT_FALSE(isEditing());
    frame().mouseUp(editor_tests::mouseAt(rect.right - 4, rect.top + 4));
}

TEST_F(PanelRobustness, TheTypeListScrolledToItsEndOpensTheLastType) {
    const gui::Rect& picker = frame().operatorSelector()->getRect();
    click(picker.left + 100, picker.top + 5);
    auto* list = dynamic_cast<gui::ListMenu*>(frame().getModalView());
    ASSERT_NE(list, nullptr);
    list->scrollTo(1000);
    const gui::Rect last = list->lineRect(list->getVisibleLines() - 1);
    click(last.left + 10, (last.top + last.bottom) / 2);
    EXPECT_EQ(plugin().getOperatorType(0), kFormant);
    tick();
    auto* panel = dynamic_cast<editor::FilterPanel*>(frame().operatorPanel());
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->getType(), kFormant);
}

}  // namespace
