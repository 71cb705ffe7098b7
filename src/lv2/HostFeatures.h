#pragma once
// Small pieces both the instance and the UI need: finding a feature the host offers, and
// telling float port values apart by their bits (a NaN never equals itself).

#include <cstdint>
#include <cstring>

#include "lv2/core/lv2.h"

namespace kirra::lv2 {

// The feature's data, or null when the host does not offer it.
inline void* findFeature(const LV2_Feature* const* features, const char* uri) {
    for (int i = 0; features != nullptr && features[i] != nullptr; ++i) {
        if (features[i]->URI != nullptr && std::strcmp(features[i]->URI, uri) == 0) {
            return features[i]->data;
        }
    }
    return nullptr;
}

inline uint32_t bitsOf(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

// A NaN that no port holds in practice: "no value yet".
constexpr uint32_t kNoValue = 0xFFFFFFFFu;

}  // namespace kirra::lv2
