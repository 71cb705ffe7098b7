#pragma once
// The dry-path delay field, "DLY %d (%.1fms)", edited like any value field; typed entry takes a
// number of samples.

#include <functional>

#include "editor/CModuleParam.h"
#include "engine/ParameterDescription.h"

namespace kirra::editor {

class CDryDly : public CModuleParam {
  public:
    CDryDly(const gui::Rect& rect, gui::ControlListener* listener, int tag,
            std::function<float()> sampleRate);

  protected:
    void valueToText(float value, ModuleText& text) override;
    float textToValue(const char* text) override;

  private:
    ParameterContext context() const;

    std::function<float()> sampleRate_;
};

}  // namespace kirra::editor
