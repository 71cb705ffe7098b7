#pragma once
// The step sequencer's values as bars, left row in the upper half and right row in the lower,
// and where they are edited. Steps beyond the sequence length are drawn hollow; the step playing
// is shaded.
//
// Editing: a click on a bar and a vertical drag change it (full range over 150 pixels, 750 with
// shift); with the control key held, a drag draws, every bar crossed taking the value at the
// pointer's height. In linked mode (label "LINKED") both rows take the same value; in separate
// mode ("LEFT", "RIGHT") only the row clicked. A click in the strip along the left edge switches
// the mode; switching to linked copies the row clicked onto the other. Every change goes to the
// listener as a user's edit, between a start and an end of the edit.

#include <string>

#include "editor/plots/CModulePlot.h"
#include "modulators/STEP.h"

namespace kirra::editor {

class CSTEPPlot : public CModulePlot {
  public:
    static constexpr int kSteps = STEP::kMaxSteps;
    // Positions: left step k is k, right step k is kSteps + k.
    static constexpr int kPositions = 2 * kSteps;
    static constexpr int kModeStripWidth = 10;
    static constexpr int kDragPixels = 150;
    static constexpr int kFineDragPixels = 750;

    class Listener {
      public:
        virtual void stepEditStarted(int position) = 0;
        virtual void stepChanged(int position, float value) = 0;
        virtual void stepEditEnded(int position) = 0;

      protected:
        ~Listener() = default;
    };

    CSTEPPlot(const gui::Rect& rect, Listener* listener);

    bool isLinked() const { return linked_; }
    float stepValue(int position) const { return values_[position]; }
    bool isEditing() const { return editing_ >= 0; }
    int getStepCount() const { return stepCount_; }
    // What the caption over the plot says while a bar is edited ("" otherwise).
    const std::string& getCaption() const { return caption_; }
    // The rectangle a bar may fill.
    gui::Rect barSlot(int position) const;
    // The pointer height that stands for a value in a row.
    int rowOfValue(int row, float value) const;

    void setStepValue(int position, float value);
    void setStepCount(int steps);
    void setCurrentStep(int step);
    // The output depth (previewed), shown as a line over each row.
    void setDepth(float depth);

    bool onMouseDown(const gui::MouseEvent& event) override;
    void onMouseMoved(const gui::MouseEvent& event) override;
    void onMouseUp(const gui::MouseEvent& event) override;
    void draw(gui::DrawContext& context) override;

  private:
    gui::Rect rowArea(int row) const;
    int stepAt(int x) const;
    int rowAt(int y) const;
    float valueAt(int row, int y) const;
    void switchMode(int rowClicked);
    // One edited step and, in linked mode, the same step of the other row.
    void write(int step, int row, float value);
    void startEdit(int step, int row);
    // A drawing drag moves on to another bar: its edit ends and the next one's starts.
    void moveEditTo(int step);
    void endEdit();
    void updateCaption(int step, int row);

    Listener* listener_;
    float values_[kPositions] = {};
    int stepCount_ = kSteps;
    int currentStep_ = 0;
    float depth_ = 1.0f;
    bool linked_ = true;

    // the edit under way: the bar clicked (step and row), how, and from where
    int editing_ = -1;
    int editRow_ = 0;
    bool drawing_ = false;
    int lastDrawnStep_ = -1;
    int anchorY_ = 0;
    float anchorValue_ = 0.0f;
    int anchorModifiers_ = 0;
    bool editedRow_[2] = {};
    std::string caption_;
};

}  // namespace kirra::editor
