#pragma once
// The dry-path delay field, "DLY %d (%.1fms)", edited like any value field; typed entry takes a
// number of samples.

#include <functional>

#include "editor/CModuleParam.h"

namespace kirra::editor {

class CDryDly : public CModuleParam {
  public:
    CDryDly(const gui::Rect& rect, gui::ControlListener* listener, int tag,
            std::function<float()> sampleRate);

  protected:
    void valueToText(float value, ModuleText& text) override;
    float textToValue(const char* text) override;

  private:
    std::function<float()> sampleRate_;
};

// One routing gain of the signal-path matrix: "-oo" or the gain in dB as "%3d".
class CMatrixConn : public CModuleParam {
  public:
    CMatrixConn(const gui::Rect& rect, gui::ControlListener* listener, int tag);

  protected:
    void valueToText(float value, ModuleText& text) override;
    float textToValue(const char* text) override;
};

}  // namespace kirra::editor
