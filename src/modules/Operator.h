#pragma once
// An audio processor of an operator slot: sixteen parameter positions and one stereo sample
// processed in place per call.

#include "modules/Module.h"
#include "modules/ModuleCatalogue.h"

namespace kirra {

class Operator : public Module {
  public:
    static constexpr int kPositions = 16;

    // Left and right sample of the slot's input, overwritten with the output.
    virtual void processSample(float& left, float& right) = 0;
    // The same over a run of samples, in place: what the signal path calls when nothing between
    // the samples depends on this operator's output. Each operator answers it with
    // processEach, which inlines its own processSample into the loop.
    virtual void processRun(float* left, float* right, int count) = 0;

    // Magnitude (linear) of the operator's frequency response at a frequency for a set of
    // position values (the base values or one channel's modulated copies) at the current sample
    // rate: what the editor's response plot draws, computed from the transfer function the audio
    // uses. Operators without a frequency response answer a negative value.
    virtual double magnitudeAt(const float* /*positionValues*/, double /*frequencyHz*/) const {
        return -1.0;
    }

    // True while processSample would hand back every sample as it came and change no state
    // (a unity gain at rest), so the signal path may leave the call out.
    bool passesThrough() const { return passesThrough_; }

  protected:
    // processSample of the concrete operator over a run, called directly rather than through the
    // table of virtual functions, sample by sample in order: the output is the one the
    // sample-by-sample calls give. The run's buffers are the caller's and never the operator's
    // own (restrict), so the operator's state may stay in registers from sample to sample.
    template <typename Concrete>
    static void processEach(Concrete& op, float* __restrict left, float* __restrict right,
                            int count) {
        for (int frame = 0; frame < count; ++frame)
            op.Concrete::processSample(left[frame], right[frame]);
    }

    Operator(OperatorType type, int slot, ModuleOwner* owner, const PositionDescriptor* table,
             int tableSize)
        : Module(operatorCatalogue(type).shortName, slot, owner, kPositions, table, tableSize) {}

    bool passesThrough_ = false;
};

}  // namespace kirra
