#pragma once
// The four operator slots and the four modulator slots: the module in each, its type, and what a
// change of type does to the rest of the instance.
//
// Each slot has two views. The audio thread runs the live modules. The other threads (under the
// engine mutex) see the module each slot will have once every published change is installed: the
// live one, or a new one still waiting in a change (EngineChange). A replacement is prepared
// there: `prepare` builds and configures the new module (taps, sample rate, preview mode) and may
// fail, leaving the slot as it was; `stage` puts it into a change, frees the modulation
// destinations that pointed at the old module and, outside program loading, stores the new
// type's defaults as the slot's positions. `install` then swaps the change's modules in at a block
// boundary, leaving the replaced ones in the change, to be destroyed on another thread.
//
// The slots also own what their modules read and write besides their parameters: the taps the
// signal path fills before any module runs, and each modulator's output of the last sample.

#include <atomic>
#include <memory>

#include "engine/EngineChange.h"
#include "engine/ParameterIndex.h"
#include "engine/ParameterMemory.h"
#include "modules/Modulator.h"
#include "modules/ModuleOwner.h"
#include "modules/Operator.h"
#include "modules/Relaxed.h"
#include "modules/SignalTaps.h"

namespace kirra {

class ModuleSlots {
  public:
    static constexpr int kSlots = param::kSlotCount;

    // Where the values a replacement reads and changes are kept: the parameter table the host and
    // the editor read, and the current program.
    class ValueStore {
      public:
        virtual float storedValue(int index) const = 0;
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
    ModuleSlots(ModuleOwner* owner, ValueStore& store);

    // Other threads' view, checked; the pointers stay valid while the engine mutex is held.
    Operator* getOperator(int slot);
    Modulator* getModulator(int slot);
    int getOperatorType(int slot) const;
    int getModulatorType(int slot) const;
    // The module an operator or modulator position index addresses, in that view.
    Module& moduleFor(int index);

    // The audio thread's, unchecked.
    Operator& operatorIn(int slot) { return *liveOperators_[slot]; }
    Modulator& modulatorIn(int slot) { return *liveModulators_[slot]; }
    Module& liveModuleFor(int index);
    bool isModulatorEmpty(int slot) const { return liveModulatorEmpty_[slot]; }
    bool anyModulatorPresent() const { return anyModulatorPresent_; }

    // Replacement; a type or slot out of range prepares nothing.
    PreparedOperator prepareOperator(int slot, int type) const;
    PreparedModulator prepareModulator(int slot, int type) const;
    void stage(PreparedOperator prepared, EngineChange& change, bool programLoading);
    void stage(PreparedModulator prepared, EngineChange& change, bool programLoading);
    // Audio thread, or no block running.
    void install(EngineChange& change);

    // A position store (internal parameter index of an operator or modulator position) in the
    // memory of what this slot last had for its type in that program.
    void rememberPosition(int index, float value, int bank, int preset);
    ParameterMemory& getParameterMemory() { return memory_; }

    // Settings every module follows; no block may run (everything published is installed).
    void setSampleRate(float sampleRate);
    // 0 off, 1 left, 2 right; modules built later start with it.
    void setModulationPreview(int mode);
    int getModulationPreview() const { return previewMode_.load(std::memory_order_relaxed); }

    // Audio thread: host time once per block.
    void setHostTime(float tempoBpm, float songPosition) {
        // An empty slot's modulator follows nothing; a tempo is only stored, so modules hear it
        // again only when it changes or when they are new.
        for (int slot = 0; slot < kSlots; ++slot) {
            if (!liveModulatorEmpty_[slot]) liveModulators_[slot]->setSongPosition(songPosition);
        }
        if (tempoSent_ && sameBits(tempoBpm, sentTempoBpm_)) return;
        for (auto& op : liveOperators_)
            op->setTempo(tempoBpm);
        for (auto& modulator : liveModulators_)
            modulator->setTempo(tempoBpm);
        sentTempoBpm_ = tempoBpm;
        tempoSent_ = true;
    }

    // Control rate, in the order the engine's control update calls them.
    void resetModulation() {
        for (auto& op : liveOperators_)
            op->resetModulation();
        for (auto& modulator : liveModulators_)
            modulator->resetModulation();
    }
    void updateParameters() {
        for (auto& op : liveOperators_)
            op->updateParameters();
        for (auto& modulator : liveModulators_)
            modulator->updateParameters();
        // A module's settings may have turned its reading of the taps on or off.
        findTapReaders();
    }
    // Ramps on their targets, state and modulator outputs cleared (suspend and resume).
    void startOnTargets();

    // Signals the modules read and write, per channel.
    using Taps = float[2][kTapCount];
    using Outputs = float[2][kSlots];
    Taps& taps() { return taps_; }
    // Whether a module in a slot reads the taps; while none does they need not be filled. A
    // module's settings decide it, so it is asked again wherever they may have changed: at each
    // control update, and at each block start for changes made between blocks (a resume, a new
    // sample rate).
    bool tapsRead() const { return tapsRead_; }
    void findTapReaders();
    Outputs& modulatorOutputs() { return modulatorOut_; }

  private:
    void configure(Module& module) const;
    void freeDestinations(int first, int last, bool programLoading);
    void storeDefaults(const Module& module, int firstIndex, bool programLoading);

    ModuleOwner* owner_;
    ValueStore& store_;

    // the audio thread's modules
    std::unique_ptr<Operator> liveOperators_[kSlots];
    std::unique_ptr<Modulator> liveModulators_[kSlots];
    bool liveModulatorEmpty_[kSlots] = {true, true, true, true};
    bool anyModulatorPresent_ = false;
    // the tempo every live module has heard
    float sentTempoBpm_ = 0.0f;
    bool tempoSent_ = false;
    // the other threads' view: live, or staged in a change
    Operator* operators_[kSlots] = {};
    Modulator* modulators_[kSlots] = {};
    // read without the mutex too (the editor's labels)
    Relaxed<int> operatorType_[kSlots] = {};
    Relaxed<int> modulatorType_[kSlots] = {};
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
