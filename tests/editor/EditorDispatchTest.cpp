// Which control changes the host records (automated) and which only set the plug-in, and the
// modulation-preview choice reaching the modules.

#include <gtest/gtest.h>

#include "editor/Editor.h"
#include "editor/EditorFixture.h"
#include "editor/KirraFrame.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleMath.h"

namespace {

using namespace kirra::editor;
namespace param = kirra::param;
using kirra::indexToValue;

struct Dispatch : editor_tests::EditorFixture {
    Dispatch() { plugin().setParameter(param::kTempoSync, indexToValue(0, 4)); }
    kirra::gui::Control& control(int tag) {
        kirra::gui::Control* found = frame().findControl(tag);
        EXPECT_NE(found, nullptr) << "no control with tag " << tag;
        return *found;
    }
    void click(int tag, int buttons = kirra::gui::kLeftButton) {
        clickControl(&control(tag), buttons);
    }
    void wheel(int tag, float steps) {
        const kirra::gui::Rect& rect = control(tag).getRect();
        frame().wheel(editor_tests::mouseAt(rect.right - 3, (rect.top + rect.bottom) / 2), steps);
    }
};

// The routing gains are recorded too; the signal-path tests drag them.
TEST_F(Dispatch, TheDryDelayIsRecordedByTheHost) {
    showPage(0);
    float dry = value(param::kDryDelay);
    wheel(param::kDryDelay, 1.0f);
    EXPECT_NEAR(value(param::kDryDelay), dry + 0.01f, 1e-6f);
    EXPECT_TRUE(automated(param::kDryDelay));
}

TEST_F(Dispatch, PreferencesSetThePluginWithoutAutomation) {
    plugin().setParameter(param::kOutLimiter, indexToValue(2, 16));
    showPage(2);
    click(param::kOutLimiter);
    EXPECT_EQ(kirra::valueToIndex(value(param::kOutLimiter), 16), 3);
    click(param::kOutLimiter);  // the last of the four offered modes wraps to the first
    EXPECT_EQ(kirra::valueToIndex(value(param::kOutLimiter), 16), 0);
    click(param::kTempoSync);
    EXPECT_EQ(kirra::valueToIndex(value(param::kTempoSync), 4), 1);
    wheel(param::kPpqOffset, 10.0f);
    wheel(param::kMeterHold, 10.0f);
    wheel(param::kMeterFalloff, 10.0f);
    click(tags::kSaveAsDefault);
    EXPECT_FLOAT_EQ(value(param::kMeterHold), 0.35f);
    EXPECT_FLOAT_EQ(control(tags::kSaveAsDefault).getValue(), 1.0f);
    EXPECT_TRUE(host->script().automation.empty());
}

TEST_F(Dispatch, PreviewChoiceReachesTheModulesAndIsKeptByTheEngine) {
    showPage(3);
    click(tags::kModulationPreview);
    EXPECT_EQ(plugin().getModulationPreview(), 1);
    click(tags::kModulationPreview, kirra::gui::kRightButton);
    click(tags::kModulationPreview, kirra::gui::kRightButton);
    EXPECT_EQ(plugin().getModulationPreview(), 2);
    {
        platform::EngineLock lock(plugin().getEngineMutex());
        EXPECT_EQ(plugin().getOperator(0)->getPreviewMode(), 2);
        EXPECT_EQ(plugin().getModulator(3)->getPreviewMode(), 2);
    }
    EXPECT_TRUE(host->script().automation.empty());
    // A reopened editor shows the choice it kept.
    editor->openOffscreen();
    EXPECT_FLOAT_EQ(control(tags::kModulationPreview).getValue(), indexToValue(2, 3));
}

}  // namespace
