#pragma once
// What the audio thread takes over in one step at a block boundary: new modules for some slots
// and, after them, parameter values to apply in the order they were set. Another thread builds it
// (under the engine mutex), so the audio thread only swaps pointers and stores values; the modules
// it replaces stay behind in the change, which is destroyed on another thread.

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/ParameterIndex.h"
#include "modules/Modulator.h"
#include "modules/Operator.h"

namespace kirra {

struct EngineChange {
    struct Store {
        int index;
        float value;
    };

    // A module per slot to install, or none; once installed, the one it replaced.
    std::unique_ptr<Operator> operators[param::kSlotCount];
    std::unique_ptr<Modulator> modulators[param::kSlotCount];
    int operatorTypes[param::kSlotCount] = {};
    int modulatorTypes[param::kSlotCount] = {};
    // Applied after the modules, in order.
    std::vector<Store> stores;
    // A program was loaded: the operators' feedback starts from silence.
    bool clearOperatorOutputs = false;

    // The hand-over's bookkeeping.
    uint64_t serial = 0;
    EngineChange* nextRetired = nullptr;

    bool replacesOperator(int slot) const { return operators[slot] != nullptr; }
    bool replacesModulator(int slot) const { return modulators[slot] != nullptr; }
    bool isEmpty() const {
        for (int slot = 0; slot < param::kSlotCount; ++slot) {
            if (replacesOperator(slot) || replacesModulator(slot)) return false;
        }
        return stores.empty() && !clearOperatorOutputs;
    }
    // Stores aimed at positions `first`..`last`: dropped when a new module for their slot makes
    // them stale.
    void dropStores(int first, int last) {
        std::vector<Store> kept;
        kept.reserve(stores.size());
        for (const Store& store : stores) {
            if (store.index < first || store.index > last) kept.push_back(store);
        }
        stores.swap(kept);
    }
};

}  // namespace kirra
