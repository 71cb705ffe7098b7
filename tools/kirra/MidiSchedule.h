#pragma once
// MIDI messages placed on the sample timeline of a render and handed to the plug-in block by
// block, each event carrying its offset inside its block, as a DAW delivers them. Every block's
// list is laid out before processing starts, so the processing loop only hands lists over.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "kirra/MidiFile.h"
#include "vst/VstApi.h"

namespace host {

class MidiSchedule {
  public:
    // A message at a frame of the render (any order; equal frames keep the order of adding).
    void add(int64_t frame, const uint8_t bytes[3]);
    // Every channel message of a file, its start at frame 0, metrical time at a tempo.
    void addFile(const MidiFile& file, double bpm, double sampleRate);
    // Lays out the lists of blocks of this size over this many frames; messages outside the
    // render are dropped (and counted).
    void prepare(int blockSize, int64_t totalFrames);
    // The list of a block (numbered from 0), or null when the block has no event.
    vst::VstEvents* eventsForBlock(size_t block);

    size_t scheduledCount() const { return midiEvents_.size(); }
    size_t droppedCount() const { return dropped_; }

  private:
    vst::VstEvents* makeList(size_t first, size_t count);

    struct Pending {
        int64_t frame;
        uint8_t bytes[3];
    };
    std::vector<Pending> pending_;
    std::vector<vst::VstMidiEvent> midiEvents_;
    // One block's list: the host structure followed by its pointers, in one allocation.
    std::vector<std::unique_ptr<std::max_align_t[]>> lists_;
    std::vector<vst::VstEvents*> listOfBlock_;
    size_t dropped_ = 0;
};

}  // namespace host
