#pragma once
// What operators and modulators share: normalised parameters with a base value and left and right
// modulated copies per position, the modulation sequence the engine runs every control period,
// and the texts the host and the editor show, all read from the module's table of position
// descriptors (PositionDescriptor.h).
//
// Life cycle: construct (defaults from the parameter table), setSampleRate (the only place that
// may allocate; ends on the targets), then per control period resetModulation, addModulation,
// clampModulation and updateParameters, and per sample the subclass's processing call.

#include <atomic>

#include "modules/ModuleMath.h"
#include "modules/ModuleOwner.h"
#include "modules/ModuleText.h"
#include "modules/PositionDescriptor.h"
#include "modules/Relaxed.h"

namespace kirra {

class Module {
  public:
    static constexpr int kMaxPositions = 38;

    virtual ~Module() = default;
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    // Modulation destination, in the order the engine calls them.
    virtual void setTempo(float /*bpm*/) {}
    virtual void resetModulation();
    virtual void addModulation(int position, float left, float right);
    virtual void clampModulation(int position);
    virtual void updateParameters() = 0;
    virtual void snapToTargets() {}
    // Which positions may be chosen as modulation destinations.
    bool isParameterUsed(int position) const;
    virtual void setModulationPreview(int mode);

    // The type's short name from the catalogue.
    void getName(ModuleText& text) const { setText(text, name_); }
    virtual void setSampleRate(float sampleRate);
    virtual void resetState() {}
    virtual void setParameter(int position, float value);

    // The description of a position, or null where the module has none.
    const PositionDescriptor* describe(int position) const;
    float getDefaultValue(int position) const;
    int getNumParameters() const { return tableSize_; }
    // Host texts: "---" for a position the module does not have.
    void getParameterName(int position, ModuleText& text) const;
    void getParameterLabel(int position, ModuleText& text) const;
    void getParameterDisplay(int position, ModuleText& text) const;
    void getDestinationName(int position, ModuleText& text) const;
    // Where the side signals (see SignalTaps.h) of each sample will be: the engine fills these
    // arrays before any module of the sample runs, so a module reads them in its processing
    // call. Until connected a module reads silence.
    void setTaps(const float* left, const float* right) {
        tapsLeft_ = left;
        tapsRight_ = right;
    }
    // Whether the module reads the taps at all: the engine fills them only while one does.
    virtual bool readsTaps() const { return false; }

    // Editor side: caption of a control, the text it shows for a value, and a typed text read
    // back as a value (answers the value unchanged when the text means nothing).
    void getCaption(int position, ModuleText& text) const;
    void getEditorText(int position, float value, ModuleText& text) const;
    float textToValue(int position, const char* text, float currentValue) const;

    int getPositionCount() const { return positions_; }
    int getSlot() const { return slot_; }
    float getSampleRate() const { return sampleRate_; }
    int getPreviewMode() const { return previewMode_; }
    float getBaseValue(int position) const;
    // channel 0 left, 1 right
    float getModulatedValue(int position, int channel) const;
    void setEditing(bool editing) { editing_ = editing; }
    bool isEditing() const { return editing_; }

  protected:
    Module(const char* name, int slot, ModuleOwner* owner, int positions,
           const PositionDescriptor* table, int tableSize);

    bool isPosition(int position) const { return position >= 0 && position < positions_; }
    // A plain copy of one of the value arrays below, for functions shared with the editor.
    static void copyValues(const Relaxed<float> (&from)[kMaxPositions],
                           float (&to)[kMaxPositions]) {
        for (int position = 0; position < kMaxPositions; ++position)
            to[position] = from[position];
    }
    // A row's display, "%.2f" of the value where it has none.
    void displayText(const PositionDescriptor& row, float value, ModuleText& text) const;

    // parameters: base value and the modulated copies the processing reads. A host thread stores
    // base values while the audio thread runs, and the editor reads all three. Base values are
    // stored through setParameter only, which counts the stores (see resetModulation).
    Relaxed<float> base_[kMaxPositions] = {};
    Relaxed<float> left_[kMaxPositions] = {};
    Relaxed<float> right_[kMaxPositions] = {};

    const float* tapsLeft_;
    const float* tapsRight_;
    float sampleRate_ = 44100.0f;
    float rampFactor_ = kRampFactor;
    int previewMode_ = 0;
    int slot_;
    ModuleOwner* owner_;
    bool editing_ = false;

  private:
    // Base stores so far, counted after each store: a reset that reads the count and then finds
    // it unchanged at the next reset has copied every base value stored since. A count never
    // goes back, so no store can be lost the way a flag the audio thread clears could lose one.
    std::atomic<unsigned> baseStores_{0};
    // the audio thread's: the count the copies were last reset at, and whether an addition or a
    // clamp has moved them since (a module that writes its copies itself in an addition is
    // always clamped after it by the engine)
    unsigned storesCopied_ = 0;
    bool copiesMoved_ = true;

    const char* name_;
    int positions_;
    const PositionDescriptor* table_;
    int tableSize_;
};

}  // namespace kirra
