#pragma once
// One routing gain of the signal-path matrix, edited like any value field: "-oo" or the gain it
// applies in whole decibels.

#include "editor/CModuleParam.h"

namespace kirra::editor {

class CMatrixConn : public CModuleParam {
  public:
    CMatrixConn(const gui::Rect& rect, gui::ControlListener* listener, int tag);

  protected:
    void valueToText(float value, ModuleText& text) override;
    float textToValue(const char* text) override;
};

}  // namespace kirra::editor
