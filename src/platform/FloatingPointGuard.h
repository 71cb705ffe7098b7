#pragma once
// Sets the processor's floating-point control for audio work (denormal results and inputs flushed
// to zero, rounding toward zero) and restores the caller's setting when it goes out of scope.

#include <cstdint>

namespace platform {

class FloatingPointGuard {
  public:
    FloatingPointGuard();
    ~FloatingPointGuard();
    FloatingPointGuard(const FloatingPointGuard&) = delete;
    FloatingPointGuard& operator=(const FloatingPointGuard&) = delete;

    // The control settings as they are now (MXCSR on x86-64 without its sticky exception flags,
    // FPCR on AArch64, 0 elsewhere).
    static uint64_t current();
    // The bits this guard sets, for tests.
    static uint64_t audioBits();

  private:
    uint64_t saved_;
};

}  // namespace platform
