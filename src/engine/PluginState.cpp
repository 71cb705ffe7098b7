// The host's chunk of the whole state and the MIDI-learn numbers saved with it.

#include "engine/Plugin.h"
#include "engine/StateChunk.h"

namespace kirra {

static_assert(kLearnTargetCount == 11, "KNOB1..KNOB8, Input, Mix, Output");

static_assert(kLearnTargetCount == MidiLearn::kControls, "the chunk holds every learned control");

int Plugin::getLearnedController(int target) const {
    return midiLearn_.getLearnedController(target);
}

void Plugin::setLearnedController(int target, int controller) {
    midiLearn_.setLearnedController(target, controller);
}

int32_t Plugin::getChunk(void** data, bool /*isPreset*/) {
    if (data == nullptr) return 0;
    int learned[kLearnTargetCount];
    for (int target = 0; target < kLearnTargetCount; ++target)
        learned[target] = midiLearn_.getLearnedController(target);
    writeStateChunk(*programs_, learned, chunk_.get());
    *data = chunk_.get();
    return static_cast<int32_t>(kStateChunkBytes);
}

int32_t Plugin::setChunk(void* data, int32_t size, bool /*isPreset*/) {
    if (data == nullptr || size < 0) return -1;
    ChunkSelection selection;
    {
        platform::EngineLock lock(mutex_);
        if (!readStateChunk(static_cast<const uint8_t*>(data), static_cast<size_t>(size),
                            *programs_, selection)) {
            return -1;
        }
        for (int target = 0; target < kLearnTargetCount; ++target) {
            setLearnedController(target, selection.learnedControllers[target]);
        }
        if (!selectsProgram(selection)) return 0;
        programs_->setCurrentBank(selection.bank);
        programs_->setCurrentPreset(selection.preset);
        applyCurrentProgram();
    }
    programChanged();
    return 0;
}

}  // namespace kirra
