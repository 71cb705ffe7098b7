#include "engine/ChangeHandover.h"

#include <thread>

namespace kirra {

ChangeHandover::~ChangeHandover() {
    delete pending_.exchange(nullptr);
    reclaim();
}

std::unique_ptr<EngineChange> ChangeHandover::retract() {
    if (EngineChange* waiting = pending_.exchange(nullptr, std::memory_order_acq_rel)) {
        awaited_ = 0;
        return std::unique_ptr<EngineChange>(waiting);
    }
    // The audio thread took it at a block start and applies it now: a matter of microseconds.
    while (awaited_ != 0 && applied_.load(std::memory_order_acquire) < awaited_)
        std::this_thread::yield();
    awaited_ = 0;
    return nullptr;
}

void ChangeHandover::publish(std::unique_ptr<EngineChange> change) {
    change->serial = ++serial_;
    awaited_ = change->serial;
    // Waiting before counted: whoever reads the count and then finds nothing waiting knows the
    // counted changes are applied (see Plugin::storeFromAudio).
    pending_.store(change.release(), std::memory_order_seq_cst);
    publications_.fetch_add(1, std::memory_order_seq_cst);
}

void ChangeHandover::retire(EngineChange* change) {
    applied_.store(change->serial, std::memory_order_release);
    change->nextRetired = retired_.load(std::memory_order_relaxed);
    while (!retired_.compare_exchange_weak(change->nextRetired, change, std::memory_order_release,
                                           std::memory_order_relaxed)) {
    }
}

void ChangeHandover::reclaim() {
    EngineChange* change = retired_.exchange(nullptr, std::memory_order_acquire);
    while (change != nullptr) {
        EngineChange* next = change->nextRetired;
        delete change;
        change = next;
    }
}

}  // namespace kirra
