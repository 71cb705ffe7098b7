#include "editor/panels/PanelFixture.h"

#include "engine/ParameterIndex.h"
#include "modules/ModuleMath.h"
#include "support/Signals.h"

namespace panel_tests {

using namespace kirra;

gui::MouseEvent mouseAt(int x, int y, int buttons, int modifiers) {
    gui::MouseEvent event;
    event.where = {x, y};
    event.buttons = buttons;
    event.modifiers = modifiers;
    return event;
}

PanelFixture::PanelFixture() : host(testing_support::makeOperatorProbe(kGain)) {
    editor = new editor::Editor(plugin());
    plugin().attachEditor(editor, editor);
    EXPECT_TRUE(editor->openOffscreen());
    tick();
}

void PanelFixture::setOperatorType(int type) {
    plugin().setParameter(param::kOperatorType1, indexToValue(type, kModuleTypeStates));
    tick();
}

void PanelFixture::setModulatorType(int type) {
    plugin().setParameter(param::kModulatorType1, indexToValue(type, kModuleTypeStates));
    tick();
}

void PanelFixture::setOperator(int position, float value) {
    plugin().setParameter(param::operatorParameter(0, position), value);
}

void PanelFixture::setModulator(int position, float value) {
    plugin().setParameter(param::modulatorParameter(0, position), value);
}

float PanelFixture::operatorValue(int position) {
    return plugin().getParameter(param::operatorParameter(0, position));
}

float PanelFixture::modulatorValue(int position) {
    return plugin().getParameter(param::modulatorParameter(0, position));
}

void PanelFixture::tick() {
    nowMs += editor::Editor::kIdleIntervalMs;
    editor->tick(nowMs);
}

void PanelFixture::process(int frames, float level) {
    std::vector<float> signal =
        testing_support::sine(1000.0, plugin().getSampleRate(), static_cast<size_t>(frames), level);
    host->process(testing_support::stereo(signal), 256);
}

void PanelFixture::click(int x, int y, int buttons, int modifiers) {
    frame().mouseDown(mouseAt(x, y, buttons, modifiers));
    frame().mouseUp(mouseAt(x, y, buttons, modifiers));
}

void PanelFixture::clickControl(gui::Control* control, int buttons) {
    ASSERT_NE(control, nullptr);
    const gui::Rect& rect = control->getRect();
    click(rect.right - 3, (rect.top + rect.bottom) / 2, buttons);
}

void PanelFixture::drag(int x, int y, int toX, int toY, int modifiers) {
    frame().mouseDown(mouseAt(x, y, gui::kLeftButton, modifiers));
    frame().mouseMoved(mouseAt((x + toX) / 2, (y + toY) / 2, gui::kLeftButton, modifiers));
    frame().mouseMoved(mouseAt(toX, toY, gui::kLeftButton, modifiers));
    frame().mouseUp(mouseAt(toX, toY, gui::kLeftButton, modifiers));
}

bool PanelFixture::automated(int index) const {
    for (const auto& [automatedIndex, value] : host->script().automation) {
        if (automatedIndex == index) return true;
    }
    return false;
}

}  // namespace panel_tests
