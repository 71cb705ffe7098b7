#pragma once
// Texts the effect operators share, in the shape of position descriptors: balances and pans,
// on/off switches, cubic gains in decibels, percentages, note values and named choices typed by
// their first letters.

#include "modules/PositionDescriptor.h"
#include "modules/PositionTexts.h"

namespace kirra {

// Balance and pan (0 left, 0.5 centre, 1 right): host display "C", "L:40", "R:12"; editor text
// "CENTER", "LEFT:40", "RIGHT:12".
void balanceDisplay(const Module& module, float value, ModuleText& text);
void balanceEditorText(const Module& module, float value, ModuleText& text);
// "L..." or "R..." with the amount after the colon (or after the first character), 0..100;
// anything else is the centre.
float balanceFromText(const Module& module, const char* text, float currentValue);

constexpr PositionDescriptor balanceRow(const char* name, const char* caption, float defaultValue) {
    return {name, caption, "", defaultValue, balanceDisplay, balanceEditorText, balanceFromText};
}

// A switch: "off" or "on", typed as a word starting with either.
void offOnDisplay(const Module& module, float value, ModuleText& text);
float offOnFromText(const Module& module, const char* text, float currentValue);

// Switches are read from their base values only, so they are no modulation destinations.
constexpr PositionDescriptor offOnRow(const char* name, const char* caption, float defaultValue) {
    return {name, caption, "", defaultValue, offOnDisplay, nullptr, offOnFromText, 2, false};
}

// A gain of v^3 (0 dB at the top): "%.0f" decibels or "-oo"; typed decibels above 0 read as 0,
// "-oo" and anything below -100 as silence.
void cubicGainDisplay(const Module& module, float value, ModuleText& text);
float cubicGainFromText(const Module& module, const char* text, float currentValue);

// A share whose top is Top percent (200 for a width that can double the side signal): "%.0f"
// for the host, "%.1f %" for the editor.
template <int Top>
constexpr auto sharePercentDisplay = percentText<kWholePercent, Top>;
template <int Top>
constexpr auto sharePercentEditorText = percentText<kTenthPercentUnit, Top>;

// A typed text (blanks before it allowed) starting with one of the names; the longest such name
// wins ("highest" over "high"). A choice may have more states than names, and only the named
// ones are typed.
float choiceByPrefix(const char* text, const char* const* names, int count, int states,
                     float currentValue);
template <const auto& Names, int States = choiceCount<Names>>
float typedChoice(const Module& /*module*/, const char* text, float currentValue) {
    return choiceByPrefix(text, Names, choiceCount<Names>, States, currentValue);
}

}  // namespace kirra
