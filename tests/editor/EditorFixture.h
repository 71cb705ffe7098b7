#pragma once
// An editor open offscreen on a real plug-in: the editor's periodic work, pointer events on its
// frame, module types and parameters set the way the host would, audio through the plug-in, and
// what the host was told to record.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "editor/Editor.h"
#include "editor/KirraFrame.h"
#include "editor/panels/ModulePanel.h"
#include "gui/DrawContext.h"
#include "gui/Image.h"
#include "gui/PointerEvents.h"
#include "support/InProcessHost.h"

namespace editor_tests {

using testing_support::centreOf;
using testing_support::mouseAt;

class EditorFixture : public ::testing::Test {
  protected:
    // On a plain plug-in, or on the host given (an operator probe, say).
    explicit EditorFixture(std::unique_ptr<testing_support::InProcessHost> probe = nullptr);
    // The user's zoom is stored per user: a test that changes it leaves the next test at 100 %.
    ~EditorFixture() override;

    kirra::Plugin& plugin() { return host->plugin(); }
    kirra::editor::KirraFrame& frame() { return *editor->getFrame(); }
    // Stores the main page and opens the editor again on it.
    void showPage(int page);
    // The user chooses a zoom (offscreen, nothing refuses it).
    void setZoom(int percent);
    // The whole editor as it shows now, at its zoom.
    kirra::gui::Image render();
    // Every text the views draw in a rendering, where they draw it; the rendering too if asked.
    std::vector<kirra::gui::TextDrawn> renderTexts(kirra::gui::Image* image = nullptr);
    // The editor's periodic work at a time, or 50 ms after the previous call.
    void tickAt(int64_t ms);
    void tick() { tickAt(nowMs + kirra::editor::Editor::kIdleIntervalMs); }

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
    float value(int index) { return plugin().getParameter(index); }
    int state(int index, int states);
    void setState(int index, int state, int states);
    // Some audio through the plug-in (control periods run, modules move).
    void process(int frames, float level = 0.0f);

    void click(int x, int y, int buttons = kirra::gui::kLeftButton, int modifiers = 0);
    void click(kirra::gui::Point where, int buttons = kirra::gui::kLeftButton);
    void click(const kirra::gui::Rect& rect, int buttons = kirra::gui::kLeftButton);
    // Near a control's right end, where value fields show their value.
    void clickControl(kirra::gui::Control* control, int buttons = kirra::gui::kLeftButton);
    void drag(int x, int y, int toX, int toY, int modifiers = 0);
    // Types the text into the focused view and presses return.
    void type(const char* text);
    bool automated(int index) const;

    std::unique_ptr<testing_support::InProcessHost> host;
    kirra::editor::Editor* editor = nullptr;  // owned by the plug-in
    int64_t nowMs = 0;
};

// The module panel and plot tests: slot 1 straight from input to output, its panel shown.
class PanelFixture : public EditorFixture {
  protected:
    PanelFixture();
};

}  // namespace editor_tests
