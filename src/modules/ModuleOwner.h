#pragma once
// What a module may ask of the plug-in that owns it: report a user's edit so that the host records
// it as automation. Nothing else; the engine drives the module, not the other way round.

#include <cstdint>

namespace kirra {

class ModuleOwner {
  public:
    virtual void setParameterAutomated(int32_t index, float value) = 0;

  protected:
    ~ModuleOwner() = default;
};

}  // namespace kirra
