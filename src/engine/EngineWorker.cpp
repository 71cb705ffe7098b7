#include "engine/EngineWorker.h"

#include <utility>

namespace kirra {

EngineWorker::EngineWorker(std::function<void()> work)
    : work_(std::move(work)), thread_([this] { run(); }) {}

EngineWorker::~EngineWorker() {
    stopping_.store(true, std::memory_order_release);
    signal_.post();
    thread_.join();
}

void EngineWorker::run() {
    for (;;) {
        signal_.wait();
        if (stopping_.load(std::memory_order_acquire)) return;
        // Cleared first, so a request made while the work runs gets a run of its own.
        requested_.store(false, std::memory_order_release);
        work_();
    }
}

}  // namespace kirra
