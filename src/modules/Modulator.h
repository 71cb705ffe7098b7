#pragma once
// A control-signal generator of a modulator slot: thirty-eight parameter positions and one pair
// of control values generated per sample.

#include "modules/Module.h"
#include "modules/ModuleCatalogue.h"

namespace kirra {

class Modulator : public Module {
  public:
    static constexpr int kPositions = 38;

    // Writes this sample's left and right control values.
    virtual void generateSample(float& left, float& right) = 0;
    // Song position in quarter notes, once per host block.
    virtual void setSongPosition(float /*quarterNotes*/) {}
    void setTempo(float bpm) override { tempoBpm_ = bpm; }

  protected:
    Modulator(ModulatorType type, int slot, ModuleOwner* owner, const PositionDescriptor* table,
              int tableSize)
        : Module(modulatorCatalogue(type).shortName, slot, owner, kPositions, table, tableSize) {}

    float tempoBpm_ = 120.0f;
};

}  // namespace kirra
