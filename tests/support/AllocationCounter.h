#pragma once
// Counts heap allocations made through operator new and malloc-family calls routed through it,
// on the calling thread, while armed.

#include <cstddef>

namespace testing_support {

class AllocationCounter {
  public:
    AllocationCounter();
    ~AllocationCounter();
    size_t count() const;
};

}  // namespace testing_support
