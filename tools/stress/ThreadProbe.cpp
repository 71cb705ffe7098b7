// Interposes the C library's mutex, read-write lock and allocation entry points for the
// whole process (the executable exports them, so the dynamic linker binds the plug-in's calls
// here) and forwards each to the C library's own implementation under its internal name. Only the
// marked thread is counted; the counters are that thread's own, published with relaxed atomics.

#include "ThreadProbe.h"

#include <pthread.h>
#include <semaphore.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <ctime>

// The C library's own implementations under their internal names; the lock functions' internal
// names exist only as older symbol versions, bound here by name and version.
__asm__(".symver libcMutexLock, __pthread_mutex_lock@GLIBC_2.2.5");
__asm__(".symver libcRwlockRdlock, __pthread_rwlock_rdlock@GLIBC_2.2.5");
__asm__(".symver libcRwlockWrlock, __pthread_rwlock_wrlock@GLIBC_2.2.5");
extern "C" {
int libcMutexLock(pthread_mutex_t* mutex);
int libcRwlockRdlock(pthread_rwlock_t* lock);
int libcRwlockWrlock(pthread_rwlock_t* lock);
void* libcMalloc(size_t size) __asm__("__libc_malloc");
void* libcCalloc(size_t count, size_t size) __asm__("__libc_calloc");
void* libcRealloc(void* memory, size_t size) __asm__("__libc_realloc");
void* libcMemalign(size_t alignment, size_t size) __asm__("__libc_memalign");
void libcFree(void* memory) __asm__("__libc_free");
}

namespace stress {
namespace {

thread_local bool audioThread = false;
std::atomic<uint64_t> locks{0};
std::atomic<uint64_t> waitedLocks{0};
std::atomic<int64_t> longestWaitNs{0};
std::atomic<uint64_t> allocations{0};

int64_t nowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void countAllocation() {
    if (audioThread) allocations.fetch_add(1, std::memory_order_relaxed);
}

// Takes a lock through `acquire`; on the audio thread first tries `tryAcquire`, so a lock that is
// free costs no clock reading and one that is not is timed.
template <typename Acquire, typename TryAcquire>
int probeLock(Acquire acquire, TryAcquire tryAcquire) {
    if (!audioThread) return acquire();
    locks.fetch_add(1, std::memory_order_relaxed);
    if (tryAcquire() == 0) return 0;
    const int64_t start = nowNs();
    const int result = acquire();
    const int64_t waited = nowNs() - start;
    waitedLocks.fetch_add(1, std::memory_order_relaxed);
    int64_t longest = longestWaitNs.load(std::memory_order_relaxed);
    while (waited > longest &&
           !longestWaitNs.compare_exchange_weak(longest, waited, std::memory_order_relaxed)) {
    }
    return result;
}

}  // namespace

void markAudioThread(bool audio) {
    audioThread = audio;
}

ProbeCounts takeAudioThreadCounts() {
    ProbeCounts counts;
    counts.locks = locks.exchange(0);
    counts.waitedLocks = waitedLocks.exchange(0);
    counts.longestWaitNs = longestWaitNs.exchange(0);
    counts.allocations = allocations.exchange(0);
    return counts;
}

}  // namespace stress

using stress::countAllocation;
using stress::probeLock;

extern "C" {

__attribute__((visibility("default"))) int pthread_mutex_lock(pthread_mutex_t* mutex) {
    return probeLock([mutex] { return libcMutexLock(mutex); },
                     [mutex] { return pthread_mutex_trylock(mutex); });
}

__attribute__((visibility("default"))) int pthread_rwlock_rdlock(pthread_rwlock_t* lock) {
    return probeLock([lock] { return libcRwlockRdlock(lock); },
                     [lock] { return pthread_rwlock_tryrdlock(lock); });
}

__attribute__((visibility("default"))) int pthread_rwlock_wrlock(pthread_rwlock_t* lock) {
    return probeLock([lock] { return libcRwlockWrlock(lock); },
                     [lock] { return pthread_rwlock_trywrlock(lock); });
}

__attribute__((visibility("default"))) void* malloc(size_t size) {
    countAllocation();
    return libcMalloc(size);
}

__attribute__((visibility("default"))) void* calloc(size_t count, size_t size) {
    countAllocation();
    return libcCalloc(count, size);
}

__attribute__((visibility("default"))) void* realloc(void* memory, size_t size) {
    countAllocation();
    return libcRealloc(memory, size);
}

__attribute__((visibility("default"))) void* aligned_alloc(size_t alignment, size_t size) {
    countAllocation();
    return libcMemalign(alignment, size);
}

__attribute__((visibility("default"))) void* memalign(size_t alignment, size_t size) {
    countAllocation();
    return libcMemalign(alignment, size);
}

__attribute__((visibility("default"))) int posix_memalign(void** memory, size_t alignment,
                                                          size_t size) {
    countAllocation();
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0) return EINVAL;
    void* block = libcMemalign(alignment, size);
    if (block == nullptr) return ENOMEM;
    *memory = block;
    return 0;
}

__attribute__((visibility("default"))) void free(void* memory) {
    libcFree(memory);
}

}  // extern "C"
