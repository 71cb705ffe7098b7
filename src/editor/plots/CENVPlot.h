#pragma once
// The envelope detector at work: the detector's input level (left edge) and output level (right
// edge) as bars, and between them the history of the output, newest on the right, one column
// per point (the loudest output of about 30 ms). Left channel in the upper half, right in the
// lower.

#include "editor/plots/CModulePlot.h"
#include "modulators/ENV.h"

namespace kirra::editor {

class CENVPlot : public CModulePlot {
  public:
    static constexpr int kHistoryLength = ENV::kHistoryLength;
    // The meters take this many pixels at each edge, the separating line included.
    static constexpr int kMeterWidth = 11;

    explicit CENVPlot(const gui::Rect& rect);

    // Levels (0..1 and more) of a channel's detector input and output.
    void setLevels(const float input[2], const float output[2]);
    // The history of both channels and the index written last.
    void setHistory(const float* left, const float* right, int newestIndex);

    // How many history points fit between the meters.
    int visiblePoints() const;
    // The history point shown at a column counted from the newest (0), per channel.
    float pointAt(int channel, int age) const;
    // Height in pixels of a channel's bar (0 input, 1 output).
    int barHeight(int channel, int which) const;

    void draw(gui::DrawContext& context) override;

  private:
    int halfHeight() const { return plotArea().height() / 2; }
    int heightOf(float level) const;

    float input_[2] = {};
    float output_[2] = {};
    float history_[2][kHistoryLength] = {};
    int newest_ = 0;
};

}  // namespace kirra::editor
