#pragma once
// One loaded instance, as the host sees it: the parameter table and its dispatch, the programs,
// MIDI and host time, the modulation slots, and block processing around the per-sample signal
// path (SignalPath) through the modules in their slots (ModuleSlots). Everything the host
// reaches arrives here.
//
// Threads. The audio thread takes no lock: what it reads is either its own, a single value
// stored with a relaxed atomic (most parameter stores), or handed over whole at the start of a
// block (ChangeHandover): new modules built elsewhere, and the values of a program change, so a
// block never sees half a program. The engine mutex serialises the other threads (host, editor,
// the instance's worker) among themselves; it guards the programs, the parameter table's
// bookkeeping and the other threads' view of the modules. A store made on the audio thread acts
// at once and leaves its bookkeeping, or a module to build, to the worker (AudioStores).

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "engine/AudioStores.h"
#include "engine/BlockGate.h"
#include "engine/ChangeHandover.h"
#include "engine/EditorNotifications.h"
#include "engine/EngineWorker.h"
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
#include "modules/Relaxed.h"
#include "platform/EngineMutex.h"
#include "vst/AudioEffectX.h"

namespace kirra {

class ABCompare;
class EditHistory;
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
    // Parameter stores made while one lives reach the audio thread together, at one block start:
    // what the editor changes as one gesture (a predefined routing, a mode with its converted
    // values) is never heard half done. Holds the engine mutex. (Inside the engine, a batch that
    // is not `together` only gathers what a change already waiting for its block must take.)
    class ChangeBatch {
      public:
        explicit ChangeBatch(Plugin& plugin, bool together = true);
        ~ChangeBatch();
        ChangeBatch(const ChangeBatch&) = delete;
        ChangeBatch& operator=(const ChangeBatch&) = delete;

      private:
        Plugin& plugin_;
        platform::EngineLock lock_;
    };
    // Held by a format whose audio callback does more than process blocks (reads its ports
    // first): stores made in the callback, before a block has run on this thread too, take the
    // audio thread's way and never the engine mutex.
    class AudioCallback {
      public:
        explicit AudioCallback(Plugin& plugin);
        ~AudioCallback();
        AudioCallback(const AudioCallback&) = delete;
        AudioCallback& operator=(const AudioCallback&) = delete;

      private:
        Plugin& plugin_;
    };
    // The module each slot has for the other threads: the running one, or its replacement while
    // that waits for the next block. Valid while the engine mutex is held.
    Operator* getOperator(int slot);
    Modulator* getModulator(int slot);
    int getOperatorType(int slot) const;
    int getModulatorType(int slot) const;
    void attachEditor(vst::AEffEditor* editor, EditorNotifications* notifications);
    float getCurrentTempo() const { return tempoBpm_.load(); }
    // Reads the peaks since the previous reading (input L/R, output L/R) and restarts them.
    void takePeaks(float peaks[kMeters]);
    // The banks; hold the engine mutex while reading or writing them.
    ProgramStore& getPrograms() { return *programs_; }
    ParameterMemory& getParameterMemory() { return modules_.getParameterMemory(); }
    // Applies preset n of the current bank, all 416 values in index order, handed to the audio
    // thread in one step.
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
    // Undo and redo of the editor's edits.
    EditHistory& getEditHistory() { return *history_; }
    // The A and B programs of a comparison.
    ABCompare& getABCompare() { return *compare_; }
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
    // Samples by which the output lags the input with the settings stored now (see
    // SignalPath::latencySamples); the audio thread takes them at its next block.
    int32_t getLatencySamples() const;
    // Whether the signal path may run the operators in turn over a control period (on unless
    // switched off; off, every sample takes the sample-by-sample way, which gives the same
    // samples). Set it with no block running.
    void allowOperatorsInTurn(bool allowed) { path_.allowOperatorsInTurn(allowed); }
    // Input, Mix and Output as modulation left them at the last control update (channel 0 left,
    // 1 right); read without waiting for the audio thread.
    float getModulatedLevel(int level, int channel) const {
        return path_.main().getPublishedModulated(level, channel);
    }

  private:
    // Which pins the host connected: bit n input n, bit kInputs + n output n. Asked from any
    // thread, read once per block.
    static constexpr unsigned kAllPins = (1u << (kInputs + kOutputs)) - 1;
    static bool isConnected(unsigned pins, int pin) { return ((pins >> pin) & 1u) != 0; }
    // What getChunk hands out, one buffer per calling thread: each stays valid and unchanged until
    // that thread asks again, whatever other threads save meanwhile.
    class ChunkBuffers {
      public:
        uint8_t* forThisThread();

      private:
        static constexpr size_t kThreads = 8;  // older threads' buffers go beyond this many
        std::vector<std::pair<std::thread::id, std::unique_ptr<uint8_t[]>>> buffers_;
    };

    void clearProcessingState();
    template <typename Sample>
    void processBlock(Sample** inputs, Sample** outputs, int32_t frames);
    void readHostTime(int32_t frames);
    void resolveSources();
    // the source each modulation slot was last resolved for (none yet: -1)
    int resolvedSources_[param::kModulationSlots] = {-1, -1, -1, -1, -1, -1, -1, -1,
                                                     -1, -1, -1, -1, -1, -1, -1, -1};
    // The knobs' and levels' smoothing picks up targets stored since it last looked.
    void noticeTargets();
    void controlUpdate();
    void applyModulation();
    void handleEventsAt(int32_t frame);
    // The first frame after `frame` at which handleEventsAt may do something.
    int32_t nextEventFrame(int32_t frame) const;
    void handleMidiMessage(uint8_t status, uint8_t data1, uint8_t data2);

    // Parameter dispatch pieces (PluginParameters.cpp). On the other threads, with the engine
    // mutex held and a change open (beginChange), `storeParameter` keeps the table and the
    // program and passes the value on: straight to the audio thread's settings when nothing waits
    // for a block, else into the change that waits.
    void storeParameter(int index, float value, bool notify);
    bool setOperatorType(int slot, float value);
    bool setModulatorType(int slot, float value);
    void passPosition(int index, float value);
    void passSetting(int index, float value);
    void passValue(int index, float value);
    static bool isModulePosition(int index);
    static bool affectsLatency(int index);
    // What a value does to the audio thread's settings and modules: on the audio thread (`live`)
    // or, with nothing waiting, on another one through relaxed stores.
    void applyToEngine(int index, float value, bool live);
    float storedValue(int index) const override { return values_[index].load(); }
    void storeSlotValue(int index, float value, bool intoProgram) override;
    void updateDryDelay();
    void notifyEditor(int index, float value);
    // Stores made on the audio thread: applied there at once, finished by another thread.
    bool isAudioContext();
    void storeFromAudio(int index, float value);
    void finishAudioStores();
    void doWorkerRound();

    // The hand-over (PluginChanges.cpp): a change opens with the first store of a call and is
    // published when the outermost call ends; while suspended it is applied at once.
    void beginChange();
    void endChange();
    EngineChange& openChange();
    void publishChange(std::unique_ptr<EngineChange> change);
    void applyChange(EngineChange& change);
    void installPendingChange();
    void applyPendingNow();
    enum class HostText { kName, kLabel, kDisplay };
    void getHostText(int32_t index, char* text, HostText kind);
    // Valid while the engine mutex is held.
    SlotModules slotModules();
    ParameterContext parameterContext(const SlotModules& modules) const;
    // All 416 values of the current program in index order with the loading flag, as one change.
    void applyCurrentProgram();
    void programChanged();
    // The host reads the delay as the effect's initial delay and takes ioChanged only outside
    // its audio thread, so a change is marked here and reported from resume, the editor's idle,
    // the end of a program change, or a parameter change the host makes on its user thread.
    void latencyMayHaveChanged() { latencyPending_.store(true); }
    void reportLatency();

    platform::EngineMutex mutex_;
    std::atomic<EditorNotifications*> notifications_{nullptr};

    // parameter values of the whole table (the program's part mirrored in the current program),
    // read by any thread
    Relaxed<float> values_[param::kInternalParameterCount] = {};
    Relaxed<int> pageState_[3] = {0, 1, 0};  // Curr OP, Curr MAIN, Curr MOD
    // under the engine mutex
    std::unique_ptr<ProgramStore> programs_;
    bool loading_ = false;
    bool suspended_ = true;
    std::atomic<bool> latencyPending_{false};
    std::unique_ptr<ProgramLibrary> library_;
    std::unique_ptr<EditHistory> history_;
    std::unique_ptr<ABCompare> compare_;
    ChunkBuffers chunkBuffers_;

    // the way to the audio thread: the change being built (under the mutex, `changeDepth_` calls
    // deep), the hand-over, the gate for work that needs no block running, the stores made on the
    // audio thread, and the thread that finishes them
    std::unique_ptr<EngineChange> openChange_;
    int changeDepth_ = 0;
    ChangeHandover handover_;
    BlockGate gate_;
    AudioStores audioStores_;
    std::atomic<std::thread::id> audioThread_{};
    Relaxed<bool> inAudioCallback_ = false;  // the audio thread's own

    // modulation slots, the modules in their slots and the signal path through them
    ModulationSlots slots_;
    ModuleSlots modules_{this, *this};
    SignalPath path_;

    // block processing
    int controlCounter_ = 0;
    float smoothingCoefficient_ = 0.0f;
    Relaxed<unsigned> connectedPins_ = kAllPins;

    // knobs, a modulation source
    SettlingSmoother<param::kKnobCount, false> knobs_{{}};

    // MIDI and time
    MidiState midi_;
    const vst::VstEvents* pendingEvents_ = nullptr;
    int32_t nextEvent_ = 0;
    bool eventsStopped_ = false;
    MidiLearn midiLearn_;
    Relaxed<float> tempoBpm_ = 120.0f;  // the editor shows it
    double runningPosition_ = 0.0;
    double songPosition_ = 0.0;  // of the current block, quarter notes

    // last: it may run as soon as it exists, and stops before anything above goes
    std::unique_ptr<EngineWorker> worker_;
};

}  // namespace kirra
