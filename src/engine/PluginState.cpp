// The host's chunk of the whole state and the MIDI-learn numbers saved with it.

#include "engine/Plugin.h"
#include "engine/StateChunk.h"

namespace kirra {

static_assert(kLearnTargetCount == 11, "KNOB1..KNOB8, Input, Mix, Output");

int Plugin::getLearnedController(int target) const {
    return target >= 0 && target < kLearnTargetCount ? learnedController_[target] : -1;
}

void Plugin::setLearnedController(int target, int controller) {
    if (target < 0 || target >= kLearnTargetCount) return;
    learnedController_[target] = controller >= 0 && controller <= 127 ? controller : -1;
}

int32_t Plugin::getChunk(void** data, bool /*isPreset*/) {
    if (data == nullptr) return 0;
    writeStateChunk(*programs_, learnedController_, chunk_.get());
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
