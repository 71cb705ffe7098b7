#pragma once
// Keeps the few operations that rebuild the audio thread's own state (a sample-rate change,
// suspend and resume, a change applied while suspended) apart from block processing without ever
// making the audio thread wait. The audio thread marks itself inside a block and then looks at the
// gate; another thread closes the gate and then looks for a block in progress. Sequentially
// consistent order makes at least one of the two see the other: a block that meets a closed gate
// is skipped (its output silent), and the closing thread waits for a block already running.
//
// Hosts never process while they suspend or change the rate, so in practice no block is skipped.

#include <atomic>
#include <thread>

namespace kirra {

class BlockGate {
  public:
    // Audio thread: false, with nothing entered, while the gate is closed.
    bool enter() {
        inBlock_.store(true, std::memory_order_seq_cst);
        if (closed_.load(std::memory_order_seq_cst)) {
            inBlock_.store(false, std::memory_order_release);
            return false;
        }
        return true;
    }
    void leave() { inBlock_.store(false, std::memory_order_release); }
    bool isInBlock() const { return inBlock_.load(std::memory_order_relaxed); }

    // Other threads, one at a time (under the engine mutex), nested on one thread as often as
    // needed. `close` waits for a running block to end; `tryClose` gives up instead.
    void close() {
        if (depth_++ > 0) return;
        closed_.store(true, std::memory_order_seq_cst);
        while (inBlock_.load(std::memory_order_seq_cst))
            std::this_thread::yield();
    }
    bool tryClose() {
        if (depth_ > 0) {
            ++depth_;
            return true;
        }
        closed_.store(true, std::memory_order_seq_cst);
        if (inBlock_.load(std::memory_order_seq_cst)) {
            closed_.store(false, std::memory_order_release);
            return false;
        }
        depth_ = 1;
        return true;
    }
    void open() {
        if (--depth_ > 0) return;
        closed_.store(false, std::memory_order_release);
    }

    // Holds the gate closed for a scope.
    class Closed {
      public:
        explicit Closed(BlockGate& gate) : gate_(gate) { gate_.close(); }
        ~Closed() { gate_.open(); }
        Closed(const Closed&) = delete;
        Closed& operator=(const Closed&) = delete;

      private:
        BlockGate& gate_;
    };

  private:
    std::atomic<bool> inBlock_{false};
    std::atomic<bool> closed_{false};
    int depth_ = 0;  // under the engine mutex
};

}  // namespace kirra
