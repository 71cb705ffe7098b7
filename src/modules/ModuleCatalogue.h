#pragma once
// The module types a slot can hold, by type number: short names and the texts of the type pickers.

namespace kirra {

// Type parameters are discrete over this many states; states beyond the catalogue create the
// first type (Gain or Empty).
constexpr int kModuleTypeStates = 64;

enum OperatorType {
    kGain = 0,
    kBiquad,
    kSVF,
    kMoog,
    kComb,
    kEQ,
    kPhaser,
    kLoFi,
    kDelayLine,
    kDistortion,
    kCompExp,
    kReverb2,
    kPitch,
    kStereo,
    kPanner,
    kPhaseInv,
    kSideMix,
    kRectifier,
    kFormant,
    kOperatorTypeCount
};

enum ModulatorType { kEmpty = 0, kLFO, kENV, kADSR, kSTEP, kModulatorTypeCount };

struct CatalogueEntry {
    const char* shortName;  // what getName answers and a closed picker shows
    const char* text;       // the picker's list line: name, blanks, description
};

// Entries for the type numbers; numbers outside the catalogue answer the first entry.
const CatalogueEntry& operatorCatalogue(int type);
const CatalogueEntry& modulatorCatalogue(int type);

}  // namespace kirra
