#include "support/AllocationCounter.h"

#include <cstdint>
#include <cstdlib>
#include <new>

namespace {
thread_local bool armed = false;
thread_local size_t allocations = 0;
thread_local std::size_t failingFrom = SIZE_MAX;

void* allocate(std::size_t size) {
    if (armed) ++allocations;
    if (size >= failingFrom) throw std::bad_alloc();
    void* memory = std::malloc(size == 0 ? 1 : size);
    if (memory == nullptr) throw std::bad_alloc();
    return memory;
}

void* allocateAligned(std::size_t size, std::align_val_t alignment) {
    if (armed) ++allocations;
    if (size >= failingFrom) throw std::bad_alloc();
    std::size_t align = static_cast<std::size_t>(alignment);
    void* memory = std::aligned_alloc(align, (size + align - 1) / align * align);
    if (memory == nullptr) throw std::bad_alloc();
    return memory;
}
}  // namespace

void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return allocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return allocateAligned(size, alignment);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept {
    std::free(memory);
}

namespace testing_support {

AllocationCounter::AllocationCounter() {
    allocations = 0;
    armed = true;
}

AllocationCounter::~AllocationCounter() {
    armed = false;
}

size_t AllocationCounter::count() const {
    return allocations;
}

AllocationFailure::AllocationFailure(size_t bytes) {
    failingFrom = bytes;
}

AllocationFailure::~AllocationFailure() {
    failingFrom = SIZE_MAX;
}

}  // namespace testing_support
