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

uint8_t* Plugin::ChunkBuffers::forThisThread() {
    const std::thread::id caller = std::this_thread::get_id();
    for (auto& entry : buffers_) {
        if (entry.first == caller) return entry.second.get();
    }
    if (buffers_.size() >= kThreads) buffers_.erase(buffers_.begin());
    buffers_.emplace_back(caller, std::make_unique<uint8_t[]>(kStateChunkBytes));
    return buffers_.back().second.get();
}

int32_t Plugin::getChunk(void** data, bool /*isPreset*/) {
    if (data == nullptr) return 0;
    // Under the mutex every writer of the banks waits: the chunk is one state, never a mixture.
    ChangeBatch call(*this, false);
    int learned[kLearnTargetCount];
    for (int target = 0; target < kLearnTargetCount; ++target)
        learned[target] = midiLearn_.getLearnedController(target);
    uint8_t* chunk = chunkBuffers_.forThisThread();
    writeStateChunk(*programs_, learned, chunk);
    *data = chunk;
    return static_cast<int32_t>(kStateChunkBytes);
}

int32_t Plugin::setChunk(void* data, int32_t size, bool /*isPreset*/) {
    if (data == nullptr || size < 0) return -1;
    ChunkSelection selection;
    {
        ChangeBatch batch(*this);
        if (!readStateChunk(static_cast<const uint8_t*>(data), static_cast<size_t>(size),
                            *programs_, selection)) {
            return -1;
        }
        for (int target = 0; target < kLearnTargetCount; ++target) {
            setLearnedController(target, selection.learnedControllers[target]);
        }
        if (!selectsProgram(selection)) {
            // The current program's values changed without being applied; its spares are read
            // back from the table.
            for (int index = param::kSpareFirst; index < param::kHostParameterCount; ++index)
                values_[index] = programs_->getValue(index);
            return 0;
        }
        programs_->setCurrentBank(selection.bank);
        programs_->setCurrentPreset(selection.preset);
        applyCurrentProgram();
    }
    programChanged();
    return 0;
}

}  // namespace kirra
