#pragma once
// One level meter bar with a peak mark. Fed the channel's peak and the time at every editor idle:
// the bar jumps up to a higher level and otherwise falls at the fall-back speed; the peak mark
// holds for the hold time (or for ever) before it falls the same way. A peak at full scale
// latches the clip mark at the right end until the meter is clicked. A click resets the meter and
// the other meter of its pair.

#include <string>

#include "gui/Control.h"

namespace kirra::editor {

class Skin;

class CMeter : public gui::Control {
  public:
    static constexpr float kFloorDb = -60.0f;     // nothing drawn at or below
    static constexpr float kSilenceDb = -100.0f;  // the level of values at or below 0.01

    CMeter(const gui::Rect& rect, const Skin& skin);

    void setFalloff(float dbPerSecond) { falloffDbPerSecond_ = dbPerSecond; }
    // Milliseconds; negative holds the peak for ever.
    void setHoldTime(float ms) { holdMs_ = ms; }
    void setLinkedMeter(CMeter* other) { linked_ = other; }
    // What the pointer's help calls it ("input left").
    void setName(std::string name) { name_ = std::move(name); }
    bool isClipped() const { return clipped_; }

    void update(float peakValue, double nowMs);
    void reset();
    float getLevelDb() const { return levelDb_; }
    float getPeakDb() const { return peakDb_; }

    void draw(gui::DrawContext& context) override;
    bool onMouseDown(const gui::MouseEvent& event) override;
    std::string tooltip(gui::Point where) const override;

  private:
    int widthFor(float db) const;

    const Skin& skin_;
    float levelDb_ = kFloorDb;
    float peakDb_ = kFloorDb;
    float falloffDbPerSecond_ = 12.0f;
    float holdMs_ = 1000.0f;
    float holdRemainingMs_ = 0.0f;
    double lastUpdateMs_ = 0.0;
    bool hasUpdated_ = false;
    CMeter* linked_ = nullptr;
    bool clipped_ = false;
    std::string name_;
};

}  // namespace kirra::editor
