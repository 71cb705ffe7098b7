#include "support/EventList.h"

#include <cstddef>
#include <new>

#include "support/InProcessHost.h"

namespace testing_support {

EventList& EventList::midi(int32_t deltaFrames, uint8_t status, uint8_t data1, uint8_t data2) {
    vst::VstMidiEvent event{};
    event.type = vst::kMidiEventType;
    event.byteSize = sizeof(event);
    event.deltaFrames = deltaFrames;
    event.midiData[0] = static_cast<char>(status);
    event.midiData[1] = static_cast<char>(data1);
    event.midiData[2] = static_cast<char>(data2);
    events_.push_back(event);
    return *this;
}

EventList& EventList::other(int32_t deltaFrames) {
    midi(deltaFrames, 0xF0, 0x7E, 0x7F);
    events_.back().type = vst::kSysExEventType;
    return *this;
}

void EventList::sendTo(InProcessHost& host) {
    if (memory_ == nullptr || builtFor_ != events_.size()) {
        size_t bytes = offsetof(vst::VstEvents, events) + events_.size() * sizeof(vst::VstEvent*);
        if (bytes < sizeof(vst::VstEvents)) bytes = sizeof(vst::VstEvents);
        memory_ = std::make_unique<std::max_align_t[]>(bytes / sizeof(std::max_align_t) + 1);
        builtFor_ = events_.size();
    }
    auto* list = new (memory_.get()) vst::VstEvents{};
    list->numEvents = static_cast<int32_t>(events_.size());
    vst::VstEvent** pointers = list->events;
    for (size_t i = 0; i < events_.size(); ++i)
        pointers[i] = reinterpret_cast<vst::VstEvent*>(&events_[i]);
    host.effect()->dispatcher(host.effect(), vst::effProcessEvents, 0, 0, list, 0.0f);
}

}  // namespace testing_support
