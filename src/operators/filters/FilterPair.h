#pragma once
// What Biquad, SVF and EQ share: two filters, A and B, each with a frequency, a knob of its own
// (resonance or Q) and a type (A at positions 0..2, B at 3..5), and the morph at position 6 that
// crossfades the output from A to B. The rows of the shared positions are built here; each
// filter writes the rows of its own knobs.

#include <array>

#include "modules/Operator.h"
#include "modules/PositionTexts.h"
#include "operators/filters/FilterText.h"

namespace kirra {

class FilterPair : public Operator {
  public:
    enum Position { kFreqA = 0, kKnobA, kTypeA, kFreqB, kKnobB, kTypeB, kMorph };
    static constexpr int kPositionsPerFilter = 3;

    // 20 Hz .. 20 kHz as 20 * 1000^v; starts fully open.
    static constexpr PositionDescriptor frequencyRow(const char* name) {
        return {name, name, "Hz", 1.0f, frequencyDisplay, frequencyEditorText, frequencyFromText};
    }
    // The types follow only their base values, so they are no modulation destinations.
    template <const auto& Names>
    static constexpr PositionDescriptor typeRow(const char* name, float defaultValue) {
        return {name,
                name,
                "",
                defaultValue,
                namedChoice<Names>,
                nullptr,
                namedChoiceFromText<Names>,
                choiceCount<Names>,
                false};
    }
    // The share of filter B.
    static constexpr PositionDescriptor morphRow() {
        return {"morph", "morph", "%", 0.0f, morphDisplay, morphEditorText, percentTyped};
    }
    // The table of a pair whose knobs are resonances with the filter's own texts, both filters
    // starting as the first of four types (low-pass).
    template <const auto& Names>
    static constexpr std::array<PositionDescriptor, kMorph + 1> resonantPairRows(
        PositionText resonanceDisplay, PositionFromText resonanceFromText) {
        return {frequencyRow("freqA"),
                {"resoA", "resoA", "", 0.0f, resonanceDisplay, nullptr, resonanceFromText},
                typeRow<Names>("typeA", 0.125f),
                frequencyRow("freqB"),
                {"resoB", "resoB", "", 0.0f, resonanceDisplay, nullptr, resonanceFromText},
                typeRow<Names>("typeB", 0.125f),
                morphRow()};
    }

  protected:
    FilterPair(OperatorType type, int slot, ModuleOwner* owner, const PositionDescriptor* table,
               int tableSize, int typeCount);

    // The type step of filter 0 (A) or 1 (B) from its base value.
    int typeOf(int filter) const;
    // The type step of a filter read from a module's base values (for the texts).
    static int typeOf(const Module& module, int filter, int typeCount);

  private:
    int typeCount_;
};

}  // namespace kirra
