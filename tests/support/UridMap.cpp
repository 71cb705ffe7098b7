#include "support/UridMap.h"

#include <algorithm>

namespace testing_support {

UridMap::UridMap() {
    map_ = {this, [](LV2_URID_Map_Handle self, const char* uri) {
                return static_cast<UridMap*>(self)->map(uri);
            }};
    unmap_ = {this, [](LV2_URID_Unmap_Handle self, LV2_URID urid) {
                  return static_cast<const UridMap*>(self)->unmap(urid);
              }};
    mapFeature_ = {LV2_URID__map, &map_};
    unmapFeature_ = {LV2_URID__unmap, &unmap_};
}

LV2_URID UridMap::map(const char* uri) {
    auto found = std::find(uris_.begin(), uris_.end(), uri);
    if (found == uris_.end()) found = uris_.insert(uris_.end(), uri);
    return static_cast<LV2_URID>(found - uris_.begin() + 1);
}

const char* UridMap::unmap(LV2_URID urid) const {
    return urid >= 1 && urid <= uris_.size() ? uris_[urid - 1].c_str() : nullptr;
}

}  // namespace testing_support
