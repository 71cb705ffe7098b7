// Editing the step values on the step plot with the mouse: dragging a bar, linked and separate
// rows, switching the mode, drawing with the control key; every change recorded by the host.

#include <gtest/gtest.h>

#include "editor/EditorFixture.h"
#include "editor/panels/CSTEPStateParam.h"
#include "editor/panels/STEPPanel.h"
#include "engine/ParameterIndex.h"
#include "modulators/STEP.h"
#include "modules/ModuleCatalogue.h"

namespace {

using namespace kirra;
using kirra::editor::CSTEPPlot;

class STEPPlotEditing : public editor_tests::PanelFixture {
  protected:
    STEPPlotEditing() {
        setModulatorType(kSTEP);
        plot = modulatorPanel<editor::STEPPanel>().plot();
    }
    // The middle of a bar's slot, at the height of a value.
    gui::Point barAt(int position, float value) const {
        gui::Rect slot = plot->barSlot(position);
        return {(slot.left + slot.right) / 2,
                plot->rowOfValue(position / CSTEPPlot::kSteps, value)};
    }
    int stepIndex(int position) const { return param::modulatorParameter(0, position); }

    CSTEPPlot* plot = nullptr;
};

TEST_F(STEPPlotEditing, ALinkedDragWritesTheSameValueToBothRows) {
    ASSERT_TRUE(plot->isLinked());
    gui::Point start = barAt(2, 0.1f);
    frame().mouseDown(editor_tests::mouseAt(start.x, start.y));
    // 150 pixels are the full range.
    frame().mouseMoved(editor_tests::mouseAt(start.x, start.y - 75));
    EXPECT_EQ(plot->getCaption(), "STEP 3: VALUE = 50.0%");
    frame().mouseUp(editor_tests::mouseAt(start.x, start.y - 75));
    EXPECT_TRUE(plot->getCaption().empty());
    EXPECT_NEAR(modulatorValue(STEP::kStepLeft1 + 2), 0.5f, 1e-6f);
    EXPECT_NEAR(modulatorValue(STEP::kStepRight1 + 2), 0.5f, 1e-6f);
    EXPECT_TRUE(automated(stepIndex(STEP::kStepLeft1 + 2)));
    EXPECT_TRUE(automated(stepIndex(STEP::kStepRight1 + 2)));
    // Shift: five times finer.
    drag(start.x, start.y, start.x, start.y - 75, gui::kShift);
    EXPECT_NEAR(modulatorValue(STEP::kStepLeft1 + 2), 0.6f, 1e-5f);
}

TEST_F(STEPPlotEditing, SeparateRowsAreEditedAloneAndLinkingCopiesTheRowClicked) {
    const gui::Rect area = plot->plotArea();
    const int strip = area.left + 3;
    const int lowerHalf = area.bottom - 5;
    click(strip, lowerHalf);
    ASSERT_FALSE(plot->isLinked());
    gui::Point right = barAt(CSTEPPlot::kSteps + 5, 0.0f);
    drag(right.x, right.y, right.x, right.y - 30);
    EXPECT_NEAR(modulatorValue(STEP::kStepRight1 + 5), 0.2f, 1e-6f);
    EXPECT_FLOAT_EQ(modulatorValue(STEP::kStepLeft1 + 5), 0.0f);
    EXPECT_EQ(plot->getCaption(), "");

    // Linking from the lower half keeps the right row and copies it onto the left.
    host->script().automation.clear();
    click(strip, lowerHalf);
    ASSERT_TRUE(plot->isLinked());
    EXPECT_NEAR(modulatorValue(STEP::kStepLeft1 + 5), 0.2f, 1e-6f);
    EXPECT_TRUE(automated(stepIndex(STEP::kStepLeft1 + 5)));
    EXPECT_FALSE(automated(stepIndex(STEP::kStepRight1 + 5)));
}

TEST_F(STEPPlotEditing, DrawingWithTheControlKeySetsEveryBarCrossed) {
    gui::Point from = barAt(1, 0.75f);
    gui::Point to = barAt(6, 0.75f);
    frame().mouseDown(editor_tests::mouseAt(from.x, from.y, gui::kLeftButton, gui::kControl));
    // One jump across several bars: those in between are crossed too.
    frame().mouseMoved(editor_tests::mouseAt(to.x, to.y, gui::kLeftButton, gui::kControl));
    frame().mouseUp(editor_tests::mouseAt(to.x, to.y, gui::kLeftButton, gui::kControl));
    for (int step = 1; step <= 6; ++step) {
        EXPECT_NEAR(modulatorValue(STEP::kStepLeft1 + step), 0.75f, 0.02f) << step;
        EXPECT_NEAR(modulatorValue(STEP::kStepRight1 + step), 0.75f, 0.02f) << step;
    }
    EXPECT_FLOAT_EQ(modulatorValue(STEP::kStepLeft1 + 7), 0.0f);
    EXPECT_FLOAT_EQ(modulatorValue(STEP::kStepLeft1), 0.0f);
}

// The step values and count the host sets are in the panel's golden image.
TEST_F(STEPPlotEditing, TheStateFieldFollowsTheMode) {
    setModulator(STEP::kMode, indexToValue(STEP::kSongPosition, STEP::kModeCount));
    tick();
    EXPECT_EQ(modulatorPanel<editor::STEPPanel>().stateField()->getMode(), STEP::kSongPosition);
}

}  // namespace
