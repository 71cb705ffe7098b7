#pragma once
// What Biquad, SVF and EQ share: two filters, A and B, each with a frequency, a knob of its own
// (resonance or Q) and a type (A at positions 0..2, B at 3..5), and the morph at position 6 that
// crossfades the output from A to B. The frequency, type and morph texts live here; each filter
// supplies the texts of its own knobs.

#include "modules/Operator.h"

namespace kirra {

class FilterPair : public Operator {
  public:
    enum Position { kFreqA = 0, kKnobA, kTypeA, kFreqB, kKnobB, kTypeB, kMorph };
    static constexpr int kPositionsPerFilter = 3;

    // The types follow only their base values, so they are no modulation destinations.
    bool isParameterUsed(int position) const override;
    void getEditorText(int position, float value, ModuleText& text) const override;
    float textToValue(int position, const char* text, float currentValue) const override;

  protected:
    FilterPair(int slot, ModuleOwner* owner, const ParameterInfo* table, int tableSize,
               const char* const* typeNames, int typeCount);

    void formatDisplay(int position, float value, ModuleText& text) const override;
    // Texts of the filter's own positions: the knobs, and whatever lies past the morph.
    virtual void formatOwnDisplay(int position, float value, ModuleText& text) const = 0;
    virtual void ownEditorText(int position, float value, ModuleText& text) const {
        formatOwnDisplay(position, value, text);
    }
    virtual float ownTextToValue(int position, const char* text, float currentValue) const = 0;

    // The type step of filter 0 (A) or 1 (B) from its base value.
    int typeOf(int filter) const;
    // Filter 0 or 1 of a knob position.
    static int filterOf(int position) { return position < kFreqB ? 0 : 1; }
    static bool isFrequency(int position) { return position == kFreqA || position == kFreqB; }
    static bool isKnob(int position) { return position == kKnobA || position == kKnobB; }
    static bool isType(int position) { return position == kTypeA || position == kTypeB; }

  private:
    const char* const* typeNames_;
    int typeCount_;
};

}  // namespace kirra
