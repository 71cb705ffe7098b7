#pragma once
// The controls of the two morphing filters (Biquad, SVF): filter A on the left, filter B on the
// right, each frequency, resonance and a four-step type, and the morph under them.

#include "editor/panels/ModulePanel.h"
#include "operators/filters/FilterPair.h"

namespace kirra::editor {

inline constexpr int kFilterTypes = 4;
inline constexpr int kFilterPairRows = 4;
inline constexpr PanelControl kFilterPairControls[] = {
    {FilterPair::kFreqA, 0, 0, 0, 0},
    {FilterPair::kKnobA, 0, 1, 0, 0},
    {FilterPair::kTypeA, 0, 2, kFilterTypes, 0},
    {FilterPair::kFreqB, 1, 0, 0, 0},
    {FilterPair::kKnobB, 1, 1, 0, 0},
    {FilterPair::kTypeB, 1, 2, kFilterTypes, 0},
    {FilterPair::kMorph, 0, 3, 0, 0},
};

}  // namespace kirra::editor
