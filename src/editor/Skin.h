#pragma once
// The editor's look, drawn by code when the editor opens: the background with its three
// sections, knob film strips, buttons, the power switch, selector arrows and meter segments, in
// the two colours of the system (light 210/217/223 for text and lines, dark 44/53/52 for faces)
// and one warm accent for values and warnings.

#include <vector>

#include "gui/DrawContext.h"
#include "gui/FilmStrip.h"
#include "gui/Image.h"

namespace kirra::editor {

class Skin {
  public:
    static constexpr gui::Color kLight{210, 217, 223};
    static constexpr gui::Color kDark{44, 53, 52};
    static constexpr gui::Color kScreen{31, 38, 37};    // recessed panel areas
    static constexpr gui::Color kShade{22, 27, 27};     // window background
    static constexpr gui::Color kAccent{232, 170, 76};  // values, bypass, hot meter segments
    static constexpr gui::Color kWarning{226, 96, 80};  // clipping meter segments
    // Shades of the light colour towards the dark one for text that is read on the dark faces:
    // names and captions (30 % towards dark, at least 4.5:1 against every face) and what is
    // unavailable (50 %, at least 3:1).
    static constexpr gui::Color kDimText{160, 168, 172};
    static constexpr gui::Color kGreyText{127, 135, 138};
    static constexpr int kKnobFrames = 102;
    static constexpr int kButtonWidth = 31;
    static constexpr int kButtonHeight = 15;

    // Painted for a zoom factor (1.0 is 100 %): every image has the device pixels it is shown
    // with, so nothing is scaled from a smaller picture.
    explicit Skin(double zoom = 1.0);

    const gui::Image& background() const { return background_; }
    // The texts painted into the background, as they were drawn.
    const std::vector<gui::TextDrawn>& backgroundTexts() const { return backgroundTexts_; }
    gui::FilmStrip mainKnob() const { return {&mainKnob_, kKnobFrames, 42}; }
    gui::FilmStrip assignableKnob() const { return {&assignableKnob_, kKnobFrames, 42}; }
    // Two frames: off, on. Labels are drawn over it by the buttons.
    gui::FilmStrip button() const { return {&button_, 2, kButtonHeight}; }
    gui::FilmStrip powerSwitch() const { return {&powerSwitch_, 2, 47}; }
    // Two frames each: enabled, greyed.
    gui::FilmStrip leftArrow() const { return {&leftArrow_, 2, 11}; }
    gui::FilmStrip rightArrow() const { return {&rightArrow_, 2, 11}; }
    // A whole meter bar lit and unlit; a meter shows the lit one up to its level.
    const gui::Image& meterLit() const { return meterLit_; }
    const gui::Image& meterUnlit() const { return meterUnlit_; }
    static constexpr int kMeterSegmentPitch = 4;

    // Text sizes.
    static gui::Font textFont() { return {9.0, false}; }
    static gui::Font smallFont() { return {8.0, false}; }
    static gui::Font captionFont() { return {9.0, true}; }
    // The type lists pad names to a column, which only a monospaced face keeps.
    static gui::Font listFont() { return {9.5, false, true}; }

  private:
    gui::Image background_;
    std::vector<gui::TextDrawn> backgroundTexts_;
    gui::Image mainKnob_;
    gui::Image assignableKnob_;
    gui::Image button_;
    gui::Image powerSwitch_;
    gui::Image leftArrow_;
    gui::Image rightArrow_;
    gui::Image meterLit_;
    gui::Image meterUnlit_;
};

// Paints the static background (sections, screens, titles, scales) into a window-sized image;
// the observer is told the texts a user reads.
void paintBackground(gui::Image& image, gui::TextObserver* readable = nullptr);

}  // namespace kirra::editor
