#pragma once
// MIDI messages of one run, read from the event input, handed to the engine as the event list of
// each block it processes. Room for them is made once, so a run allocates nothing; messages
// beyond that room in a single run are dropped.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "vst/VstApi.h"

namespace kirra::lv2 {

class MidiQueue {
  public:
    static constexpr size_t kCapacity = 1024;

    MidiQueue();

    // A channel message at a frame of the run, not before any already queued. False when it is
    // not one (system messages, running status) or there is no room.
    bool add(uint32_t frame, const uint8_t* bytes, uint32_t size);
    // The queued messages before `end`, their offsets counted from `start`, taken off the queue;
    // null when there are none. Valid until the next call.
    vst::VstEvents* take(uint32_t start, uint32_t end);
    size_t size() const { return count_ - first_; }

  private:
    std::vector<vst::VstMidiEvent> events_;
    std::vector<uint32_t> frames_;
    size_t first_ = 0;
    size_t count_ = 0;
    // The list the engine reads: the host structure followed by its pointers.
    std::unique_ptr<std::max_align_t[]> list_;
};

}  // namespace kirra::lv2
