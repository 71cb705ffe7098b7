#pragma once
// The configuration view of the signal-path page: per operator, whether its input is coded to
// mid/side, whether its output is decoded from mid/side back to left/right, and whether its
// output is inverted.

#include "editor/ParameterReader.h"
#include "engine/ParameterIndex.h"
#include "gui/Control.h"
#include "gui/ViewContainer.h"

namespace kirra::editor {

class CMatrixSwitch;

class ConfigurationView : public gui::ViewContainer {
  public:
    static constexpr int kSwitchColumns = 3;  // input coding, output decoding, inversion

    ConfigurationView(const gui::Rect& rect, gui::ControlListener* listener,
                      const ParameterReader& values);

    // The switch of an operator in a column.
    CMatrixSwitch* switchAt(int op, int column) const { return switches_[op][column]; }
    // A mask parameter changed: every switch of it follows.
    void maskChanged(int index, float value);
    gui::Rect cellRect(int row, int column) const;
    void draw(gui::DrawContext& context) override;

  private:
    CMatrixSwitch* switches_[param::kSlotCount][kSwitchColumns] = {};
};

}  // namespace kirra::editor
