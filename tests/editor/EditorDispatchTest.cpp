// Which control changes the host records (automated) and which only set the plug-in, page by
// page, and the modulation-preview choice reaching the modules.

#include <gtest/gtest.h>

#include "editor/Editor.h"
#include "editor/KirraFrame.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleMath.h"
#include "support/InProcessHost.h"

namespace {

using namespace kirra::editor;
namespace param = kirra::param;
using kirra::indexToValue;
using kirra::gui::MouseEvent;

struct Dispatch : ::testing::Test {
    Dispatch() {
        host.plugin().attachEditor(editor, editor);
        host.plugin().setParameter(param::kTempoSync, indexToValue(0, 4));
    }
    void showPage(int page) {
        host.plugin().setParameter(param::kCurrentMain, indexToValue(page, 4));
        editor->openOffscreen();
    }
    kirra::gui::Control& control(int tag) {
        kirra::gui::Control* found = editor->getFrame()->findControl(tag);
        EXPECT_NE(found, nullptr) << "no control with tag " << tag;
        return *found;
    }
    // A left click in the middle-right of a control (where value fields show their value).
    void click(int tag, int buttons = kirra::gui::kLeftButton) {
        const kirra::gui::Rect& rect = control(tag).getRect();
        MouseEvent event;
        event.where = {rect.right - 3, (rect.top + rect.bottom) / 2};
        event.buttons = buttons;
        editor->getFrame()->mouseDown(event);
        editor->getFrame()->mouseUp(event);
    }
    void wheel(int tag, float steps) {
        const kirra::gui::Rect& rect = control(tag).getRect();
        MouseEvent event;
        event.where = {rect.right - 3, (rect.top + rect.bottom) / 2};
        editor->getFrame()->wheel(event, steps);
    }
    bool automated(int index) {
        for (const auto& record : host.script().automation) {
            if (record.first == index) return true;
        }
        return false;
    }

    testing_support::InProcessHost host;
    Editor* editor = new Editor(host.plugin());
};

TEST_F(Dispatch, RoutingAndDryDelayAreRecordedByTheHost) {
    showPage(0);
    const int gain = param::kOpToOp11 + 5;  // OP2 -> OP2
    wheel(gain, 10.0f);
    EXPECT_NEAR(host.plugin().getParameter(gain), 0.1f, 1e-6f);
    EXPECT_TRUE(automated(gain));
    float dry = host.plugin().getParameter(param::kDryDelay);
    wheel(param::kDryDelay, 1.0f);
    EXPECT_NEAR(host.plugin().getParameter(param::kDryDelay), dry + 0.01f, 1e-6f);
    EXPECT_TRUE(automated(param::kDryDelay));
}

TEST_F(Dispatch, PreferencesSetThePluginWithoutAutomation) {
    host.plugin().setParameter(param::kOutLimiter, indexToValue(2, 16));
    showPage(2);
    click(param::kOutLimiter);
    EXPECT_EQ(kirra::valueToIndex(host.plugin().getParameter(param::kOutLimiter), 16), 3);
    click(param::kOutLimiter);  // the last of the four offered modes wraps to the first
    EXPECT_EQ(kirra::valueToIndex(host.plugin().getParameter(param::kOutLimiter), 16), 0);
    click(param::kTempoSync);
    EXPECT_EQ(kirra::valueToIndex(host.plugin().getParameter(param::kTempoSync), 4), 1);
    wheel(param::kPpqOffset, 10.0f);
    wheel(param::kMeterHold, 10.0f);
    wheel(param::kMeterFalloff, 10.0f);
    click(tags::kSaveAsDefault);
    EXPECT_FLOAT_EQ(host.plugin().getParameter(param::kMeterHold), 0.35f);
    EXPECT_FLOAT_EQ(control(tags::kSaveAsDefault).getValue(), 1.0f);
    EXPECT_TRUE(host.script().automation.empty());
}

TEST_F(Dispatch, TempoIsRecordedWhenNotLockedToTheHost) {
    showPage(2);
    float tempo = host.plugin().getParameter(param::kTempo);
    wheel(param::kTempo, 1.0f);
    EXPECT_NEAR(host.plugin().getParameter(param::kTempo), tempo + 0.01f, 1e-6f);
    EXPECT_TRUE(automated(param::kTempo));
}

TEST_F(Dispatch, PreviewChoiceReachesTheModulesAndIsKeptByTheEditor) {
    showPage(3);
    click(tags::kModulationPreview);
    EXPECT_EQ(editor->getPreviewMode(), 1);
    click(tags::kModulationPreview, kirra::gui::kRightButton);
    click(tags::kModulationPreview, kirra::gui::kRightButton);
    EXPECT_EQ(editor->getPreviewMode(), 2);
    {
        platform::EngineLock lock(host.plugin().getEngineMutex());
        EXPECT_EQ(host.plugin().getOperator(0)->getPreviewMode(), 2);
        EXPECT_EQ(host.plugin().getModulator(3)->getPreviewMode(), 2);
    }
    EXPECT_TRUE(host.script().automation.empty());
    // A reopened editor shows the choice it kept.
    editor->openOffscreen();
    EXPECT_EQ(editor->getFrame()->modulationPage() != nullptr, true);
    EXPECT_FLOAT_EQ(control(tags::kModulationPreview).getValue(), indexToValue(2, 3));
}

TEST_F(Dispatch, ModulePanelFieldsAreRecordedByTheHost) {
    showPage(1);
    const int attenuation = param::operatorParameter(0, 0);
    wheel(attenuation, -10.0f);
    EXPECT_NEAR(host.plugin().getParameter(attenuation), 0.9f, 1e-6f);
    EXPECT_TRUE(automated(attenuation));
    // The selected-slot buttons write the editor's page parameters, not host parameters.
    click(tags::kModulatorButton1 + 3);
    EXPECT_FLOAT_EQ(host.plugin().getParameter(param::kCurrentModulator), indexToValue(3, 4));
    EXPECT_FALSE(automated(tags::kModulatorButton1 + 3));
}

}  // namespace
