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

// A percentage 0..100 typed for a 0..1 value.
inline float percentTyped(const Module& /*module*/, const char* text, float currentValue) {
    return percentFromText(text, currentValue);
}

}  // namespace kirra
