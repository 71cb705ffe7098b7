#include "editor/EditorFixture.h"

#include <algorithm>

#include "editor/EditorZoom.h"
#include "engine/ParameterIndex.h"
#include "engine/ProgramLibrary.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"
#include "support/Signals.h"

namespace editor_tests {

using namespace kirra;

EditorFixture::EditorFixture(std::unique_ptr<testing_support::InProcessHost> probe)
    : host(probe != nullptr ? std::move(probe)
                            : std::make_unique<testing_support::InProcessHost>()),
      editor(new editor::Editor(host->plugin())) {
    plugin().attachEditor(editor, editor);
    EXPECT_TRUE(editor->openOffscreen());
}

EditorFixture::~EditorFixture() {
    plugin().getLibrary().getStore().remove(editor::zoom::kStoreName);
}

void EditorFixture::setZoom(int percent) {
    editor->requestZoom(percent);
    tick();
}

gui::Image EditorFixture::render() {
    gui::Image image = gui::Image::atScale(frame().width(), frame().height(), frame().zoom());
    frame().renderAll(image);
    return image;
}

namespace {

struct TextRecorder : gui::TextObserver {
    std::vector<gui::TextDrawn> texts;
    void textDrawn(const gui::TextDrawn& text) override { texts.push_back(text); }
};

}  // namespace

std::vector<gui::TextDrawn> EditorFixture::renderTexts(gui::Image* image) {
    TextRecorder recorder;
    frame().setTextRecorder(&recorder);
    gui::Image rendered = render();
    frame().setTextRecorder(nullptr);
    if (image != nullptr) *image = std::move(rendered);
    return recorder.texts;
}

void EditorFixture::showPage(int page) {
    plugin().setParameter(param::kCurrentMain, indexToValue(page, 4));
    ASSERT_TRUE(editor->openOffscreen());
}

void EditorFixture::tickAt(int64_t ms) {
    nowMs = ms;
    // As the window's thread does: the editor's work, then the frame's clock.
    editor->tick(ms);
    frame().tick(ms);
}

void EditorFixture::setOperatorType(int type) {
    plugin().setParameter(param::kOperatorType1, indexToValue(type, kModuleTypeStates));
    tick();
}

void EditorFixture::setModulatorType(int type) {
    plugin().setParameter(param::kModulatorType1, indexToValue(type, kModuleTypeStates));
    tick();
}

void EditorFixture::setOperator(int position, float value) {
    plugin().setParameter(param::operatorParameter(0, position), value);
}

void EditorFixture::setModulator(int position, float value) {
    plugin().setParameter(param::modulatorParameter(0, position), value);
}

float EditorFixture::operatorValue(int position) {
    return value(param::operatorParameter(0, position));
}

float EditorFixture::modulatorValue(int position) {
    return value(param::modulatorParameter(0, position));
}

int EditorFixture::state(int index, int states) {
    return valueToIndex(value(index), states);
}

void EditorFixture::setState(int index, int state, int states) {
    plugin().setParameter(index, indexToValue(state, states));
}

void EditorFixture::process(int frames, float level) {
    std::vector<float> signal =
        testing_support::sine(1000.0, plugin().getSampleRate(), static_cast<size_t>(frames), level);
    host->process(testing_support::stereo(signal), 256);
}

void EditorFixture::click(int x, int y, int buttons, int modifiers) {
    testing_support::click(frame(), x, y, buttons, modifiers);
}

void EditorFixture::click(gui::Point where, int buttons) {
    click(where.x, where.y, buttons);
}

void EditorFixture::click(const gui::Rect& rect, int buttons) {
    click(centreOf(rect), buttons);
}

void EditorFixture::clickControl(gui::Control* control, int buttons) {
    ASSERT_NE(control, nullptr);
    const gui::Rect& rect = control->getRect();
    click(rect.right - 3, (rect.top + rect.bottom) / 2, buttons);
}

void EditorFixture::drag(int x, int y, int toX, int toY, int modifiers) {
    testing_support::drag(frame(), x, y, toX, toY, modifiers);
}

void EditorFixture::type(const char* text) {
    testing_support::typeKeys(frame(), text);
    testing_support::pressKey(frame(), gui::Key::kReturn);
}

bool EditorFixture::automated(int index) const {
    const auto& automation = host->script().automation;
    return std::any_of(automation.begin(), automation.end(),
                       [index](const auto& change) { return change.first == index; });
}

PanelFixture::PanelFixture() : EditorFixture(testing_support::makeOperatorProbe(kGain)) {
    tick();
}

}  // namespace editor_tests
