#pragma once
// A value one thread stores and another reads, with no order implied for anything else: a
// parameter store from a host thread that the audio thread picks up at its next sample or control
// period, or a copy the audio thread keeps for the editor to read. An atomic with relaxed order
// costs a plain load or store on the machines we build for, and it says in the code (to the
// compiler, the sanitizers and the reader) that the race is intended.

#include <atomic>

namespace kirra {

template <typename T>
class Relaxed {
  public:
    Relaxed() noexcept : value_(T{}) {}
    // Implicit, so that arrays of them take plain initialisers.
    Relaxed(T value) noexcept : value_(value) {}  // NOLINT(google-explicit-constructor)
    Relaxed(const Relaxed& other) noexcept : value_(other.load()) {}
    Relaxed& operator=(const Relaxed& other) noexcept {
        store(other.load());
        return *this;
    }
    Relaxed& operator=(T value) noexcept {
        store(value);
        return *this;
    }
    ~Relaxed() = default;

    operator T() const noexcept { return load(); }  // NOLINT(google-explicit-constructor)
    T load() const noexcept { return value_.load(std::memory_order_relaxed); }
    void store(T value) noexcept { value_.store(value, std::memory_order_relaxed); }
    // Not one atomic step: only the one thread that writes the value may use it.
    Relaxed& operator+=(T delta) noexcept {
        store(load() + delta);
        return *this;
    }

  private:
    std::atomic<T> value_;
};

}  // namespace kirra
