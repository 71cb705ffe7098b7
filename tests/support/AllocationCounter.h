#pragma once
// Counts heap allocations made through operator new and malloc-family calls routed through it,
// on the calling thread, while armed; or makes the large ones fail, as when memory runs out.

#include <cstddef>

namespace testing_support {

class AllocationCounter {
  public:
    AllocationCounter();
    ~AllocationCounter();
    size_t count() const;
};

// While it lives, every operator new of at least `bytes` on the calling thread throws
// std::bad_alloc.
class AllocationFailure {
  public:
    explicit AllocationFailure(size_t bytes);
    ~AllocationFailure();
};

}  // namespace testing_support
