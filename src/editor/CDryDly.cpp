#include "editor/CDryDly.h"

#include "engine/ParameterDescription.h"

namespace kirra::editor {

CDryDly::CDryDly(const gui::Rect& rect, gui::ControlListener* listener, int tag,
                 std::function<float()> sampleRate)
    : CModuleParam(rect, listener, tag, "", nullptr, 0, 0), sampleRate_(std::move(sampleRate)) {
    refreshText();
}

ParameterContext CDryDly::context() const {
    ParameterContext context;
    // Called by the base constructor before the rate is known.
    if (sampleRate_) context.sampleRate = sampleRate_();
    return context;
}

void CDryDly::valueToText(float value, ModuleText& text) {
    parameterEditorText(getTag(), value, context(), text);
}

float CDryDly::textToValue(const char* text) {
    return parameterFromText(getTag(), text, getValue(), context());
}

}  // namespace kirra::editor
