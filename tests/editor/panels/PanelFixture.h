#pragma once
// An editor open offscreen on a real plug-in, for the module panel and plot tests: module types
// in slot 1, mouse events on the frame, the editor's periodic work, audio through the plug-in.

#include <gtest/gtest.h>

#include <memory>

#include "editor/Editor.h"
#include "editor/KirraFrame.h"
#include "editor/panels/ModulePanel.h"
#include "support/InProcessHost.h"

namespace panel_tests {

class PanelFixture : public ::testing::Test {
  protected:
    PanelFixture();

    kirra::Plugin& plugin() { return host->plugin(); }
    kirra::editor::KirraFrame& frame() { return *editor->getFrame(); }
    // Puts a type in slot 1 the way the host would, and lets the editor rebuild its panel.
    void setOperatorType(int type);
    void setModulatorType(int type);
    template <typename Panel>
    Panel& operatorPanel() {
        auto* panel = dynamic_cast<Panel*>(frame().operatorPanel());
        EXPECT_NE(panel, nullptr);
        return *panel;
    }
    template <typename Panel>
    Panel& modulatorPanel() {
        auto* panel = dynamic_cast<Panel*>(frame().modulatorPanel());
        EXPECT_NE(panel, nullptr);
        return *panel;
    }
    void setOperator(int position, float value);
    void setModulator(int position, float value);
    float operatorValue(int position);
    float modulatorValue(int position);
    // The editor's periodic work, 50 ms after the previous call.
    void tick();
    // Some audio through the plug-in (control periods run, modules move).
    void process(int frames, float level = 0.0f);

    void click(int x, int y, int buttons = kirra::gui::kLeftButton, int modifiers = 0);
    void clickControl(kirra::gui::Control* control, int buttons = kirra::gui::kLeftButton);
    void drag(int x, int y, int toX, int toY, int modifiers = 0);
    bool automated(int index) const;

    std::unique_ptr<testing_support::InProcessHost> host;
    kirra::editor::Editor* editor = nullptr;  // owned by the plug-in
    int64_t nowMs = 0;
};

kirra::gui::MouseEvent mouseAt(int x, int y, int buttons = kirra::gui::kLeftButton,
                               int modifiers = 0);

}  // namespace panel_tests
