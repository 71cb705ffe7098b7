#pragma once
// Turns a type number of the module catalogue into a new module of that class.

#include <memory>

#include "modules/Modulator.h"
#include "modules/Operator.h"

namespace kirra {

// Type numbers outside the catalogue create a Gain / an Empty.
std::unique_ptr<Operator> createOperator(int type, int slot, ModuleOwner* owner);
std::unique_ptr<Modulator> createModulator(int type, int slot, ModuleOwner* owner);

}  // namespace kirra
