#pragma once
// What the thread marked as the audio thread does that it must not: take a lock or allocate.
// The stress host defines the C library's lock and allocation entry points itself
// (ThreadProbe.cpp), so every call the plug-in makes through them passes here first; on the marked
// thread each is counted, and the time a lock was not free is measured.

#include <cstdint>

namespace stress {

struct ProbeCounts {
    uint64_t locks = 0;         // mutex and read-write lock acquisitions
    uint64_t waitedLocks = 0;   // of those, the ones that were not free at once
    int64_t longestWaitNs = 0;  // the longest of those waits
    uint64_t allocations = 0;   // malloc and its relatives, operator new included
};

// Marks or unmarks the calling thread as the audio thread.
void markAudioThread(bool audio);
// What the audio thread did since the last call, and restarts the counts.
ProbeCounts takeAudioThreadCounts();

}  // namespace stress
