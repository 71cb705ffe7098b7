#pragma once
// URIs mapped to numbers from 1 on, as an LV2 host's map does.

#include <algorithm>
#include <string>
#include <vector>

#include "lv2/core/lv2.h"
#include "lv2/urid/urid.h"

namespace testing_support {

class UridMap {
  public:
    UridMap() = default;
    UridMap(const UridMap&) = delete;
    UridMap& operator=(const UridMap&) = delete;

    LV2_URID map(const char* uri) {
        auto found = std::find(uris_.begin(), uris_.end(), uri);
        if (found == uris_.end()) found = uris_.insert(uris_.end(), uri);
        return static_cast<LV2_URID>(found - uris_.begin() + 1);
    }
    LV2_URID_Map* lv2Map() { return &map_; }
    const LV2_Feature* mapFeature() const { return &feature_; }

  private:
    std::vector<std::string> uris_;
    LV2_URID_Map map_{this, [](LV2_URID_Map_Handle self, const char* uri) {
                          return static_cast<UridMap*>(self)->map(uri);
                      }};
    LV2_Feature feature_{LV2_URID__map, &map_};
};

}  // namespace testing_support
