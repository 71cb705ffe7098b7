#pragma once
// The values a slot last had for each module type, per bank and preset, so that picking a type
// again gives its settings back. Lives as long as the instance; not saved anywhere.

#include <cstddef>
#include <vector>

#include "engine/ParameterIndex.h"
#include "modules/ModuleCatalogue.h"

namespace kirra {

class ParameterMemory {
  public:
    // Allocates and fills every catalogued type with its defaults.
    ParameterMemory();

    // The positions of one (bank, preset, slot, type); numbers out of range are limited.
    float* operatorValues(int bank, int preset, int slot, int type);
    float* modulatorValues(int bank, int preset, int slot, int type);

  private:
    static size_t entry(int bank, int preset, int slot, int type);

    std::vector<float> operators_;   // 16 per entry
    std::vector<float> modulators_;  // 38 per entry
};

}  // namespace kirra
