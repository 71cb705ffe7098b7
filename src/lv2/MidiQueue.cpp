#include "lv2/MidiQueue.h"

#include <algorithm>
#include <new>

namespace kirra::lv2 {

MidiQueue::MidiQueue() : events_(kCapacity), frames_(kCapacity) {
    const size_t bytes = offsetof(vst::VstEvents, events) + kCapacity * sizeof(vst::VstEvent*);
    list_ = std::make_unique<std::max_align_t[]>(bytes / sizeof(std::max_align_t) + 1);
}

bool MidiQueue::add(uint32_t frame, const uint8_t* bytes, uint32_t size) {
    constexpr uint8_t kStatusBit = 0x80;
    constexpr uint8_t kSystemMessages = 0xF0;
    if (size == 0 || bytes == nullptr || (bytes[0] & kStatusBit) == 0 ||
        bytes[0] >= kSystemMessages) {
        return false;
    }
    if (count_ == kCapacity) {
        // Room taken by messages already handed over is given back before any is refused.
        if (first_ == 0) return false;
        std::copy(events_.begin() + static_cast<std::ptrdiff_t>(first_), events_.end(),
                  events_.begin());
        std::copy(frames_.begin() + static_cast<std::ptrdiff_t>(first_), frames_.end(),
                  frames_.begin());
        count_ -= first_;
        first_ = 0;
    }
    vst::VstMidiEvent& event = events_[count_];
    event = {};
    event.type = vst::kMidiEventType;
    event.byteSize = sizeof(vst::VstMidiEvent);
    for (uint32_t i = 0; i < size && i < 3; ++i)
        event.midiData[i] = static_cast<char>(bytes[i]);
    frames_[count_] = frame;
    ++count_;
    return true;
}

vst::VstEvents* MidiQueue::take(uint32_t start, uint32_t end) {
    size_t last = first_;
    while (last < count_ && frames_[last] < end)
        ++last;
    if (last == first_) return nullptr;
    auto* list = new (list_.get()) vst::VstEvents{};
    vst::VstEvent** pointers = list->events;
    for (size_t i = first_; i < last; ++i) {
        events_[i].deltaFrames = static_cast<int32_t>(frames_[i] > start ? frames_[i] - start : 0);
        pointers[list->numEvents++] = reinterpret_cast<vst::VstEvent*>(&events_[i]);
    }
    first_ = last;
    if (first_ == count_) first_ = count_ = 0;
    return list;
}

}  // namespace kirra::lv2
