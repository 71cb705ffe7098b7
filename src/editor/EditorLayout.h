#pragma once
// Where everything sits in the 830 x 335 window: the three sections side by side (modulators,
// main pages, operators), the knob row and the meters along the bottom.

#include "engine/MainSection.h"
#include "engine/ParameterIndex.h"
#include "gui/Geometry.h"

namespace kirra::editor::layout {

using gui::Rect;

constexpr int kWidth = 830;
constexpr int kHeight = 335;

// Section outlines drawn by the skin, and the recessed screens inside them.
constexpr Rect kModulatorSection{55, 5, 292, 296};
constexpr Rect kMainSection{298, 5, 533, 296};
constexpr Rect kOperatorSection{539, 5, 776, 296};
constexpr Rect kModulatorScreen{62, 41, 284, 207};
constexpr Rect kMainScreen{305, 41, 526, 207};
constexpr Rect kOperatorScreen{546, 41, 768, 207};

constexpr Rect kModulatorButtons[param::kSlotCount] = {
    {63, 12, 94, 27}, {103, 12, 134, 27}, {212, 12, 243, 27}, {252, 12, 283, 27}};
constexpr Rect kOperatorButtons[param::kSlotCount] = {
    {548, 12, 579, 27}, {588, 12, 619, 27}, {697, 12, 728, 27}, {737, 12, 768, 27}};
// Indexed by page choice: 0 routing, 1 library, 2 preferences, 3 modulation.
constexpr Rect kPageButtons[param::kPageStates] = {
    {494, 12, 525, 27}, {345, 12, 376, 27}, {454, 12, 485, 27}, {305, 12, 336, 27}};
// Between the two pairs of buttons of each section.
constexpr Rect kModulatorTitle{134, 12, 212, 27};
constexpr Rect kMainTitle{376, 12, 454, 27};
constexpr Rect kOperatorTitle{619, 12, 697, 27};

// The type pickers leave room for the bypass switch at the right of the panel header.
constexpr Rect kModulatorSelector{65, 43, 268, 54};
constexpr Rect kModulatorBypassSwitch{270, 43, 282, 54};
constexpr int kModulatorMenuBottom = 104;
constexpr Rect kOperatorSelector{549, 43, 752, 54};
constexpr Rect kOperatorBypassSwitch{754, 43, 766, 54};
constexpr int kOperatorMenuBottom = 184;
constexpr Rect kModulatorPanel{64, 55, 282, 205};
constexpr Rect kOperatorPanel{548, 55, 766, 205};

// The main page area; the library list reaches down to the panels' bottom edge.
constexpr Rect kPageArea{307, 43, 524, 194};
constexpr Rect kLibraryArea{307, 43, 524, 205};
constexpr Rect kModulationSlotArea{307, 43, 524, 174};
constexpr Rect kPreviewSelector{337, 182, 494, 192};

constexpr int kKnobSize = 42;
constexpr int kKnobTop = 237;
constexpr int kAssignableKnobX[param::kKnobCount] = {66, 124, 181, 239, 548, 606, 664, 722};
constexpr int kMainKnobX[MainSection::kLevelCount] = {308, 366, 424};
constexpr Rect kPowerSwitch{487, 234, 517, 281};
// The row caption above the knobs and the text line under each knob.
constexpr int kKnobCaptionTop = 213;
constexpr int kKnobTextTop = 281;
constexpr int kKnobTextHeight = 11;

// The frame's commands in the free strip between the meters' captions.
constexpr Rect kCompareSwitch{338, 306, 358, 320};
constexpr Rect kCopyAToB{362, 306, 386, 320};
constexpr Rect kCopyBToA{390, 306, 414, 320};
constexpr Rect kUndoButton{440, 306, 458, 320};
constexpr Rect kRedoButton{462, 306, 480, 320};

constexpr Rect kInputMeters[2] = {{65, 304, 285, 312}, {65, 319, 285, 327}};
constexpr Rect kOutputMeters[2] = {{548, 304, 768, 312}, {548, 319, 768, 327}};

inline Rect knobRect(int x) {
    return {x, kKnobTop, x + kKnobSize, kKnobTop + kKnobSize};
}

}  // namespace kirra::editor::layout
