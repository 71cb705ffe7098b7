#include "kirra/MidiSchedule.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <new>

namespace host {

void MidiSchedule::add(int64_t frame, const uint8_t bytes[3]) {
    pending_.push_back({frame, {bytes[0], bytes[1], bytes[2]}});
}

void MidiSchedule::addFile(const MidiFile& file, double bpm, double sampleRate) {
    for (const MidiFileEvent& event : file.events) {
        double frame = std::round(file.secondsAt(event.tick, bpm) * sampleRate);
        // Beyond any render; prepare drops it.
        add(frame < 9e18 ? static_cast<int64_t>(frame) : INT64_MAX, event.bytes);
    }
}

void MidiSchedule::prepare(int blockSize, int64_t totalFrames) {
    std::stable_sort(pending_.begin(), pending_.end(),
                     [](const Pending& a, const Pending& b) { return a.frame < b.frame; });
    const int64_t block = std::max(1, blockSize);
    midiEvents_.clear();
    lists_.clear();
    dropped_ = 0;
    std::vector<size_t> blockOfEvent;
    for (const Pending& message : pending_) {
        if (message.frame < 0 || message.frame >= totalFrames) {
            ++dropped_;
            continue;
        }
        vst::VstMidiEvent event{};
        event.type = vst::kMidiEventType;
        event.byteSize = sizeof(vst::VstMidiEvent);
        event.deltaFrames = static_cast<int32_t>(message.frame % block);
        event.flags = 1;  // realtime: a render plays every message as it comes
        for (int i = 0; i < 3; ++i)
            event.midiData[i] = static_cast<char>(message.bytes[i]);
        midiEvents_.push_back(event);
        blockOfEvent.push_back(static_cast<size_t>(message.frame / block));
    }
    // All events are in place now, so pointers into them stay valid.
    listOfBlock_.assign(static_cast<size_t>((totalFrames + block - 1) / block), nullptr);
    for (size_t first = 0; first < midiEvents_.size();) {
        size_t end = first;
        while (end < midiEvents_.size() && blockOfEvent[end] == blockOfEvent[first])
            ++end;
        listOfBlock_[blockOfEvent[first]] = makeList(first, end - first);
        first = end;
    }
}

vst::VstEvents* MidiSchedule::makeList(size_t first, size_t count) {
    // The host structure declares two pointers; the list carries as many as it has events.
    size_t bytes = std::max(sizeof(vst::VstEvents),
                            offsetof(vst::VstEvents, events) + count * sizeof(vst::VstEvent*));
    size_t units = (bytes + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t);
    lists_.push_back(std::make_unique<std::max_align_t[]>(units));
    auto* list = new (lists_.back().get()) vst::VstEvents{};
    list->numEvents = static_cast<int32_t>(count);
    vst::VstEvent** pointers = list->events;
    for (size_t i = 0; i < count; ++i)
        pointers[i] = reinterpret_cast<vst::VstEvent*>(&midiEvents_[first + i]);
    return list;
}

vst::VstEvents* MidiSchedule::eventsForBlock(size_t block) {
    return block < listOfBlock_.size() ? listOfBlock_[block] : nullptr;
}

}  // namespace host
