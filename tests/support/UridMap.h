#pragma once
// URIs mapped to numbers from 1 on, as an LV2 host's map does.

#include <string>
#include <vector>

#include "lv2/core/lv2.h"
#include "lv2/urid/urid.h"

namespace testing_support {

class UridMap {
  public:
    UridMap();
    UridMap(const UridMap&) = delete;
    UridMap& operator=(const UridMap&) = delete;

    LV2_URID map(const char* uri);
    const char* unmap(LV2_URID urid) const;
    LV2_URID_Map* lv2Map() { return &map_; }
    const LV2_Feature* mapFeature() const { return &mapFeature_; }
    const LV2_Feature* unmapFeature() const { return &unmapFeature_; }

  private:
    std::vector<std::string> uris_;
    LV2_URID_Map map_{};
    LV2_URID_Unmap unmap_{};
    LV2_Feature mapFeature_{};
    LV2_Feature unmapFeature_{};
};

}  // namespace testing_support
