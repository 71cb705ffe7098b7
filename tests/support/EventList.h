#pragma once
// A host's event list for one block, built by a test in any order (also a wrong one) and handed
// to the plug-in through the effect record.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "vst/VstApi.h"

namespace testing_support {

class InProcessHost;

class EventList {
  public:
    EventList& midi(int32_t deltaFrames, uint8_t status, uint8_t data1, uint8_t data2 = 0);
    // An event of another type, which the plug-in must skip.
    EventList& other(int32_t deltaFrames);
    // effProcessEvents with the list; it must live until the next processing call ends.
    // Sending the same list again allocates nothing.
    void sendTo(InProcessHost& host);

  private:
    std::vector<vst::VstMidiEvent> events_;
    std::unique_ptr<std::max_align_t[]> memory_;
    size_t builtFor_ = 0;  // events in the built list
};

}  // namespace testing_support
