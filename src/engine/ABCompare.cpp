#include "engine/ABCompare.h"

#include "engine/Plugin.h"

namespace kirra {

namespace {

Program currentProgram(Plugin& plugin) {
    platform::EngineLock lock(plugin.getEngineMutex());
    return plugin.getPrograms().current();
}

}  // namespace

void ABCompare::fillWaitingLocked() {
    if (filled_) return;
    waiting_ = currentProgram(plugin_);
    filled_ = true;
}

void ABCompare::swap() {
    std::lock_guard<std::mutex> lock(mutex_);
    fillWaitingLocked();
    const Program leaving = currentProgram(plugin_);
    plugin_.applyPreset(waiting_);
    waiting_ = leaving;
    playing_ = playing_.load() == kA ? kB : kA;
}

void ABCompare::copy(int from, int to) {
    if (from == to || (from != kA && from != kB) || (to != kA && to != kB)) return;
    std::lock_guard<std::mutex> lock(mutex_);
    fillWaitingLocked();
    if (from == playing_.load()) {
        waiting_ = currentProgram(plugin_);
    } else {
        plugin_.applyPreset(waiting_);
    }
}

}  // namespace kirra
