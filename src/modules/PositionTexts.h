#pragma once
// Conversions that many modules' positions share, in the shape a position descriptor takes.
//
// A choice among named states is written once as an array of names; its texts, its reading back
// and its number of states all come from that array:
//   const char* const kShapes[] = {"sine", "square"};
//   {"shape", "shape", "", 0.25f, namedChoice<kShapes>, nullptr, namedChoiceFromText<kShapes>,
//    choiceCount<kShapes>}

#include <iterator>

#include "modules/ModuleMath.h"
#include "modules/ModuleText.h"

namespace kirra {

class Module;

template <const auto& Names>
constexpr int choiceCount = static_cast<int>(std::size(Names));

template <const auto& Names>
void namedChoice(const Module& /*module*/, float value, ModuleText& text) {
    setText(text, Names[valueToIndex(value, choiceCount<Names>)]);
}

// A typed name (any case, blanks around it) of one of the states.
template <const auto& Names>
float namedChoiceFromText(const Module& /*module*/, const char* text, float currentValue) {
    return choiceFromText(text, Names, choiceCount<Names>, currentValue);
}

// A share shown in percent of Top with a printf format of its own; the families of modules show
// their percentages in their own ways.
inline constexpr char kWholePercent[] = "%.0f";
inline constexpr char kTenthPercent[] = "%.1f";
inline constexpr char kTenthPercentSign[] = "%.1f%%";
inline constexpr char kTenthPercentUnit[] = "%.1f %%";
template <const char* Format, int Top = 100>
void percentText(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, sizeof(ModuleText), Format, static_cast<float>(Top) * value);
}

// A tempo-locked time as one of the note values: its length in whole notes ("%.2f") for the
// host and its name ("1/4", "3/16") for the editor.
void noteValueDisplay(const Module& module, float value, ModuleText& text);
void noteValueEditorText(const Module& module, float value, ModuleText& text);

// A percentage 0..100 typed for a 0..1 value.
inline float percentTyped(const Module& /*module*/, const char* text, float currentValue) {
    return percentFromText(text, currentValue);
}

}  // namespace kirra
