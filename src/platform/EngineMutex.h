#pragma once
// The engine's lock for every thread but the audio thread, which never takes it: host and editor
// threads and the instance's worker hold it while they change or read the programs, the parameter
// table's bookkeeping or the modules their view of the slots holds. Program selection stores
// parameters on the same thread, so it must be re-entrant.

#include <mutex>

namespace platform {

using EngineMutex = std::recursive_mutex;
using EngineLock = std::lock_guard<EngineMutex>;

}  // namespace platform
