#pragma once
// The compressor/expander's ratio, read as a compression or an expansion ratio by the curve type.

#include "editor/panels/CModeParam.h"

namespace kirra::editor {

class CCompExpRatioParam : public CModeParam {
  public:
    using CModeParam::CModeParam;
    void setCurveType(int type) { setGoverningChoice(type); }
    int getCurveType() const { return getGoverningChoice(); }
};

}  // namespace kirra::editor
