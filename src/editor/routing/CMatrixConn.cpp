#include "editor/routing/CMatrixConn.h"

#include "engine/ParameterDescription.h"

namespace kirra::editor {

CMatrixConn::CMatrixConn(const gui::Rect& rect, gui::ControlListener* listener, int tag)
    : CModuleParam(rect, listener, tag, "", nullptr, 0, 0) {
    // The base constructor could only ask its own conversion.
    refreshText();
}

void CMatrixConn::valueToText(float value, ModuleText& text) {
    parameterEditorText(getTag(), value, ParameterContext(), text);
}

float CMatrixConn::textToValue(const char* text) {
    return parameterFromText(getTag(), text, getValue(), ParameterContext());
}

}  // namespace kirra::editor
