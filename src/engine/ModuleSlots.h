#pragma once
// The four operator slots and the four modulator slots: the module in each, its type, and what a
// change of type does to the rest of the instance.
//
// A replacement runs in two steps. `prepare` builds the new module and configures it (taps,
// sample rate, preview mode) without touching the slot; it may allocate and may fail, and a
// failure leaves the slot as it was. `install` swaps the prepared module in, frees the modulation
// destinations that pointed at the old one and, outside program loading, stores the new type's
// defaults as the slot's positions; it hands back the replaced module, so the caller decides
// where it is destroyed. Both run under the engine mutex today; kept apart, the first can later
// move off the audio thread and the second to a block boundary.
//
// The slots also own what their modules read and write besides their parameters: the taps the
// signal path fills before any module runs, and each modulator's output of the last sample.

#include <atomic>
#include <memory>

#include "engine/ParameterIndex.h"
#include "engine/ParameterMemory.h"
#include "modules/Modulator.h"
#include "modules/ModuleOwner.h"
#include "modules/Operator.h"
#include "modules/SignalTaps.h"

namespace kirra {

class ModulationSlots;

class ModuleSlots {
  public:
    static constexpr int kSlots = param::kSlotCount;

    // Where the values a replacement changes are stored: the parameter table the host and the
    // editor read, and the current program.
    class ValueStore {
      public:
        // `intoProgram` is false for a destination freed while a program loads: the program's own
        // value is applied after it.
        virtual void storeSlotValue(int index, float value, bool intoProgram) = 0;

      protected:
        ~ValueStore() = default;
    };

    // A module built and configured for a slot, not yet in it.
    template <typename Kind>
    struct Prepared {
        int slot = -1;
        int type = 0;
        std::unique_ptr<Kind> module;
        explicit operator bool() const { return module != nullptr; }
    };
    using PreparedOperator = Prepared<Operator>;
    using PreparedModulator = Prepared<Modulator>;

    // Every operator slot starts with a Gain, every modulator slot empty.
    ModuleSlots(ModuleOwner* owner, ModulationSlots& modulation, ValueStore& store);

    // Checked access for the editor and tests; the pointers stay valid while the engine mutex is
    // held.
    Operator* getOperator(int slot);
    Modulator* getModulator(int slot);
    int getOperatorType(int slot) const;
    int getModulatorType(int slot) const;

    // Unchecked access for the engine's own loops.
    Operator& operatorIn(int slot) { return *operators_[slot]; }
    Modulator& modulatorIn(int slot) { return *modulators_[slot]; }
    bool isModulatorEmpty(int slot) const { return modulatorType_[slot] == kEmpty; }

    // Replacement; a type or slot out of range prepares nothing.
    PreparedOperator prepareOperator(int slot, int type) const;
    PreparedModulator prepareModulator(int slot, int type) const;
    std::unique_ptr<Operator> install(PreparedOperator prepared, bool programLoading);
    std::unique_ptr<Modulator> install(PreparedModulator prepared, bool programLoading);
    // Both steps at once; false when the new module could not be built.
    bool replaceOperator(int slot, int type, bool programLoading);
    bool replaceModulator(int slot, int type, bool programLoading);

    // A position store (internal parameter index of an operator or modulator position) reaches the
    // module and the memory of what this slot last had for its type in that program.
    void setPosition(int index, float value, int bank, int preset);
    ParameterMemory& getParameterMemory() { return memory_; }

    // Settings every module follows.
    void setSampleRate(float sampleRate);
    // 0 off, 1 left, 2 right; modules built later start with it.
    void setModulationPreview(int mode);
    int getModulationPreview() const { return previewMode_.load(std::memory_order_relaxed); }
    void setHostTime(float tempoBpm, float songPosition) {
        for (auto& modulator : modulators_)
            modulator->setSongPosition(songPosition);
        for (auto& op : operators_)
            op->setTempo(tempoBpm);
        for (auto& modulator : modulators_)
            modulator->setTempo(tempoBpm);
    }

    // Control rate, in the order the engine's control update calls them.
    void resetModulation() {
        for (auto& op : operators_)
            op->resetModulation();
        for (auto& modulator : modulators_)
            modulator->resetModulation();
    }
    void updateParameters() {
        for (auto& op : operators_)
            op->updateParameters();
        for (auto& modulator : modulators_)
            modulator->updateParameters();
    }
    // Ramps on their targets, state and modulator outputs cleared (suspend and resume).
    void startOnTargets();

    // Signals the modules read and write, per channel.
    using Taps = float[2][kTapCount];
    using Outputs = float[2][kSlots];
    Taps& taps() { return taps_; }
    // Whether a module in a slot reads the taps; while none does they need not be filled.
    bool tapsRead() const { return tapsRead_; }
    Outputs& modulatorOutputs() { return modulatorOut_; }

  private:
    void configure(Module& module) const;
    void freeDestinations(int first, int last, bool programLoading);
    void storeDefaults(const Module& module, int firstIndex, bool programLoading);
    void findTapReaders();

    ModuleOwner* owner_;
    ModulationSlots& modulation_;
    ValueStore& store_;

    // modules and their types
    std::unique_ptr<Operator> operators_[kSlots];
    std::unique_ptr<Modulator> modulators_[kSlots];
    int operatorType_[kSlots] = {};
    int modulatorType_[kSlots] = {};
    ParameterMemory memory_;

    // settings a new module is configured with
    float sampleRate_ = 44100.0f;
    std::atomic<int> previewMode_{0};

    // signals: taps of this sample, modulator outputs of the last
    float taps_[2][kTapCount] = {};
    bool tapsRead_ = false;
    alignas(16) float modulatorOut_[2][kSlots] = {};
};

}  // namespace kirra
