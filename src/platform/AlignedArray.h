#pragma once
// A fixed-length array of floats on a 16-byte boundary, allocated once (construction or a
// sample-rate change), so that four-lane code may read it with aligned loads.

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

namespace platform {

class AlignedArray {
  public:
    AlignedArray() = default;
    explicit AlignedArray(size_t size) { resize(size); }
    ~AlignedArray() { std::free(data_); }
    AlignedArray(const AlignedArray&) = delete;
    AlignedArray& operator=(const AlignedArray&) = delete;

    // Reallocates to the given length, zeroed; throws std::bad_alloc when memory runs out.
    void resize(size_t size) {
        std::free(data_);
        data_ = nullptr;
        size_ = 0;
        if (size == 0) return;
        size_t bytes = (size * sizeof(float) + 15) & ~size_t{15};
        data_ = static_cast<float*>(std::aligned_alloc(16, bytes));
        if (data_ == nullptr) throw std::bad_alloc();
        size_ = size;
        clear();
    }
    void clear() {
        if (data_ != nullptr) std::memset(data_, 0, size_ * sizeof(float));
    }
    float* data() { return data_; }
    const float* data() const { return data_; }
    size_t size() const { return size_; }
    float& operator[](size_t index) { return data_[index]; }
    const float& operator[](size_t index) const { return data_[index]; }

  private:
    float* data_ = nullptr;
    size_t size_ = 0;
};

}  // namespace platform
