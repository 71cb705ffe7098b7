#include "editor/CDryDly.h"

#include "editor/EditorTexts.h"

namespace kirra::editor {

CDryDly::CDryDly(const gui::Rect& rect, gui::ControlListener* listener, int tag,
                 std::function<float()> sampleRate)
    : CModuleParam(rect, listener, tag, "", nullptr, 0, 0), sampleRate_(std::move(sampleRate)) {
    refreshText();
}

void CDryDly::valueToText(float value, ModuleText& text) {
    // Called by the base constructor before the rate is known.
    float rate = sampleRate_ ? sampleRate_() : 44100.0f;
    dryDelayText(value, rate, text);
}

float CDryDly::textToValue(const char* text) {
    return dryDelayValue(text, sampleRate_ ? sampleRate_() : 44100.0f, getValue());
}

}  // namespace kirra::editor
