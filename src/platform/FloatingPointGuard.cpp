#include "platform/FloatingPointGuard.h"

namespace platform {

namespace {

#if defined(__x86_64__) || defined(__i386__)
// MXCSR: bit 6 denormals are zero, bit 15 flush to zero, bits 13-14 rounding (11 = toward zero).
constexpr uint64_t kAudioBits = (1u << 6) | (1u << 15) | (3u << 13);
constexpr uint64_t kRoundingMask = 3u << 13;
constexpr uint64_t kStatusFlags = 0x3f;  // sticky exception flags, not settings

uint64_t readControl() {
    uint32_t value;
    __asm__ volatile("stmxcsr %0" : "=m"(value));
    return value;
}

void writeControl(uint64_t value) {
    uint32_t word = static_cast<uint32_t>(value);
    __asm__ volatile("ldmxcsr %0" : : "m"(word));
}
#elif defined(__aarch64__)
// FPCR: bit 24 flush to zero, bits 22-23 rounding (11 = toward zero).
constexpr uint64_t kAudioBits = (1ull << 24) | (3ull << 22);
constexpr uint64_t kRoundingMask = 3ull << 22;
constexpr uint64_t kStatusFlags = 0;  // kept in FPSR

uint64_t readControl() {
    uint64_t value;
    __asm__ volatile("mrs %0, fpcr" : "=r"(value));
    return value;
}

void writeControl(uint64_t value) {
    __asm__ volatile("msr fpcr, %0" : : "r"(value));
}
#else
constexpr uint64_t kAudioBits = 0;
constexpr uint64_t kRoundingMask = 0;
constexpr uint64_t kStatusFlags = 0;
uint64_t readControl() {
    return 0;
}
void writeControl(uint64_t) {}
#endif

}  // namespace

FloatingPointGuard::FloatingPointGuard() : saved_(readControl()) {
    writeControl((saved_ & ~kRoundingMask) | kAudioBits);
}

FloatingPointGuard::~FloatingPointGuard() {
    writeControl(saved_);
}

uint64_t FloatingPointGuard::current() {
    return readControl() & ~kStatusFlags;
}

uint64_t FloatingPointGuard::audioBits() {
    return kAudioBits;
}

}  // namespace platform
