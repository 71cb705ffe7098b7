#pragma once
// One loaded instance, as the host sees it: the parameter table and its dispatch, the programs,
// MIDI and host time, the modulation slots, and block processing around the per-sample signal
// path (SignalPath) through the modules in their slots (ModuleSlots). Everything the host
// reaches arrives here.

#include <atomic>
#include <cstdint>
#include <memory>

#include "engine/EditorNotifications.h"
#include "engine/MidiLearn.h"
#include "engine/MidiState.h"
#include "engine/ModulationNames.h"
#include "engine/ModulationSlots.h"
#include "engine/ModuleSlots.h"
#include "engine/ParameterDescription.h"
#include "engine/ParameterIndex.h"
#include "engine/ParameterMemory.h"
#include "engine/ProgramStore.h"
#include "engine/SettlingSmoother.h"
#include "engine/SignalPath.h"
#include "engine/Version.h"
#include "modules/Modulator.h"
#include "modules/ModuleOwner.h"
#include "modules/Operator.h"
#include "platform/EngineMutex.h"
#include "vst/AudioEffectX.h"

namespace kirra {

class ProgramLibrary;

class Plugin : public vst::AudioEffectX, public ModuleOwner, private ModuleSlots::ValueStore {
  public:
    static constexpr int32_t kUniqueId = vst::fourCharCode('V', 'n', 'K', 'r');
    static constexpr int32_t kVendorVersion = kVendorVersionNumber;
    static constexpr int kInputs = 4;
    static constexpr int kOutputs = 2;
    static constexpr int kMeters = SignalPath::kMeters;  // input left, right, output left, right

    explicit Plugin(vst::HostCallback host);
    ~Plugin() override;

    // Host interface.
    void suspend() override;
    void resume() override;
    void setSampleRate(float sampleRate) override;
    void processReplacing(float** inputs, float** outputs, int32_t frames) override;
    void processDoubleReplacing(double** inputs, double** outputs, int32_t frames) override;
    void setParameter(int32_t index, float value) override;
    float getParameter(int32_t index) override;
    void setParameterAutomated(int32_t index, float value) override;
    int32_t getProgram() override { return 0; }
    void setProgramName(const char* name) override;
    void getProgramName(char* name) override;
    void getParameterLabel(int32_t index, char* text) override;
    void getParameterDisplay(int32_t index, char* text) override;
    void getParameterName(int32_t index, char* text) override;
    int32_t processEvents(vst::VstEvents* events) override;
    int32_t getVendorVersion() override { return kVendorVersion; }
    int32_t canDo(const char* text) override;
    void connectionChanged() override;
    int32_t getChunk(void** data, bool isPreset) override;
    int32_t setChunk(void* data, int32_t size, bool isPreset) override;
    intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                        float opt) override;

    // Engine side, for the editor and for tests.
    platform::EngineMutex& getEngineMutex() { return mutex_; }
    // Module pointers are valid while the engine mutex is held.
    Operator* getOperator(int slot);
    Modulator* getModulator(int slot);
    int getOperatorType(int slot) const;
    int getModulatorType(int slot) const;
    void attachEditor(vst::AEffEditor* editor, EditorNotifications* notifications);
    float getCurrentTempo() const { return tempoBpm_; }
    // Reads the peaks since the previous reading (input L/R, output L/R) and restarts them.
    void takePeaks(float peaks[kMeters]);
    ProgramStore& getPrograms() { return *programs_; }
    ParameterMemory& getParameterMemory() { return modules_.getParameterMemory(); }
    // Applies preset n of the current bank, all 416 values in index order, under the mutex.
    void selectProgram(int preset);
    // Gives the current program the preset's name and applies its values like a selection.
    void applyPreset(const Program& preset);
    bool isLoading() const { return loading_; }
    // MIDI-learn controller numbers of KNOB1..KNOB8, Input, Mix, Output; -1 for none.
    int getLearnedController(int target) const;
    void setLearnedController(int target, int controller);
    // MIDI learn: the editor sets the state; the learned numbers above live here.
    MidiLearn& getMidiLearn() { return midiLearn_; }
    const MidiState& getMidiState() const { return midi_; }
    // Preset and bank files, default banks, clipboard, preferences.
    ProgramLibrary& getLibrary() { return *library_; }
    // The modulation-preview mode (internal parameter kModulationPreview): 0 off, 1 the left,
    // 2 the right modulated copies shown in the module panels.
    int getModulationPreview() const { return modules_.getModulationPreview(); }
    // Names of modulation sources (long or short form) and destinations, with the modules now in
    // the slots.
    void getSourceName(int source, bool shortForm, ModuleText& text);
    void getDestinationName(int destination, ModuleText& text);
    // Texts of any internal parameter with the modules now in the slots, for the editor.
    void getEditorText(int index, float value, ModuleText& text);
    float textToValue(int index, const char* text, float currentValue);
    // Samples by which the output lags the input now (see SignalPath::getLatency).
    int32_t getLatencySamples() const { return path_.getLatency(); }

  private:
    struct Connections {
        bool input[kInputs] = {true, true, true, true};
        bool output[kOutputs] = {true, true};
    };

    void clearProcessingState();
    template <typename Sample>
    void processBlock(Sample** inputs, Sample** outputs, int32_t frames);
    void readHostTime(int32_t frames);
    void resolveSources();
    void controlUpdate();
    void applyModulation();
    // Whether handleEventsAt(frame) would handle an event (pending events only).
    bool eventDueAt(int32_t frame) const;
    void handleEventsAt(int32_t frame);
    void handleMidiMessage(uint8_t status, uint8_t data1, uint8_t data2);

    // Parameter dispatch pieces.
    void setModulePosition(int index, float value);
    void setOperatorType(int slot, float value);
    void setModulatorType(int slot, float value);
    void replaceOperator(int slot, int type);
    void replaceModulator(int slot, int type);
    void storeSlotValue(int index, float value, bool intoProgram) override;
    void updateDryDelay();
    enum class HostText { kName, kLabel, kDisplay };
    void getHostText(int32_t index, char* text, HostText kind);
    // Valid while the engine mutex is held.
    SlotModules slotModules();
    ParameterContext parameterContext(const SlotModules& modules) const;
    // All 416 values of the current program in index order, under the mutex with the loading flag.
    void applyCurrentProgram();
    void programChanged();
    // The host reads the delay as the effect's initial delay and takes ioChanged only outside
    // its audio thread, so a change is marked here and reported from resume, the editor's idle,
    // the end of a program change, or a parameter change the host makes on its user thread.
    void latencyMayHaveChanged() { latencyPending_.store(true); }
    void reportLatency();

    platform::EngineMutex mutex_;
    EditorNotifications* notifications_ = nullptr;

    // parameter values of the whole table (the program's part mirrored in the current program)
    float values_[param::kInternalParameterCount] = {};
    std::unique_ptr<ProgramStore> programs_;
    bool loading_ = false;
    bool suspended_ = true;
    std::atomic<bool> latencyPending_{false};
    std::unique_ptr<ProgramLibrary> library_;
    std::unique_ptr<uint8_t[]> chunk_;  // what getChunk hands out, valid until the next call
    int pageState_[3] = {0, 1, 0};      // Curr OP, Curr MAIN, Curr MOD

    // modulation slots, the modules in their slots and the signal path through them
    ModulationSlots slots_;
    ModuleSlots modules_{this, slots_, *this};
    SignalPath path_;

    // block processing
    int controlCounter_ = 0;
    float smoothingCoefficient_ = 0.0f;
    Connections connections_;

    // knobs, a modulation source
    SettlingSmoother<param::kKnobCount, false> knobs_{{}};

    // MIDI and time
    MidiState midi_;
    const vst::VstEvents* pendingEvents_ = nullptr;
    int32_t nextEvent_ = 0;
    bool eventsStopped_ = false;
    MidiLearn midiLearn_;
    float tempoBpm_ = 120.0f;
    double runningPosition_ = 0.0;
    double songPosition_ = 0.0;  // of the current block, quarter notes
};

}  // namespace kirra
