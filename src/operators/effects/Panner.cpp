#include "operators/effects/Panner.h"

#include <iterator>

#include "operators/effects/EffectText.h"

namespace kirra {

namespace {

enum Position { kPanLeft = 0, kPanRight = 1 };

const PositionDescriptor kParameters[] = {
    balanceRow("panL", "pan L", 0.0f),
    balanceRow("panR", "pan R", 1.0f),
};

}  // namespace

Panner::Panner(int slot, ModuleOwner* owner)
    : Operator(kPanner, slot, owner, kParameters, std::size(kParameters)) {
    panLeft_.current = panLeft_.target = base_[kPanLeft];
    panRight_.current = panRight_.target = base_[kPanRight];
}

void Panner::updateParameters() {
    panLeft_.setTarget(left_[kPanLeft]);
    panRight_.setTarget(right_[kPanRight]);
}

void Panner::snapToTargets() {
    panLeft_.snap();
    panRight_.snap();
}

void Panner::processSample(float& left, float& right) {
    float panLeft = panLeft_.advance();
    float panRight = panRight_.advance();
    float inLeft = left;
    float inRight = right;
    left = (1.0f - panLeft) * inLeft + (1.0f - panRight) * inRight;
    right = panLeft * inLeft + panRight * inRight;
}

}  // namespace kirra
