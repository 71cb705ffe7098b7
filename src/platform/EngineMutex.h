#pragma once
// The one lock of the engine: held by block processing for a whole block, by module replacement
// and by program selection. Program selection replaces modules on the same thread, so it must be
// re-entrant.

#include <mutex>

namespace platform {

using EngineMutex = std::recursive_mutex;
using EngineLock = std::lock_guard<EngineMutex>;

}  // namespace platform
