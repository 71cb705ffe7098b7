#include "editor/routing/CMatrixSwitch.h"

#include "editor/routing/LitBox.h"
#include "editor/routing/RoutingTexts.h"
#include "engine/ParameterIndex.h"

namespace kirra::editor {

namespace {
constexpr int kInputBits = 4;  // "OP_LR_MS": inputs encoded in bits 0..3, outputs decoded in 4..7
}  // namespace

CMatrixSwitch::CMatrixSwitch(const gui::Rect& rect, gui::ControlListener* listener, int tag,
                             int states, int bit, std::string offText, std::string onText)
    : Control(rect, listener, tag),
      states_(states),
      bit_(bit),
      offText_(std::move(offText)),
      onText_(std::move(onText)) {}

bool CMatrixSwitch::isOn() const {
    return (maskOf(getValue(), states_) >> bit_) & 1;
}

void CMatrixSwitch::draw(gui::DrawContext& context) {
    drawLitBox(context, getRect(), isOn(), shownText().c_str());
}

bool CMatrixSwitch::onMouseDown(const gui::MouseEvent& event) {
    if (!event.isLeft()) return false;
    changeValue(withBitToggled(getValue(), states_, bit_));
    return true;
}

CMatrixMS::CMatrixMS(const gui::Rect& rect, gui::ControlListener* listener, int tag, int bit)
    : CMatrixSwitch(rect, listener, tag, param::kOpLrMsStates, bit, "AS IS",
                    bit < kInputBits ? "L/R>M/S" : "M/S>L/R") {}

CMatrixInv::CMatrixInv(const gui::Rect& rect, gui::ControlListener* listener, int tag, int bit)
    : CMatrixSwitch(rect, listener, tag, param::kOpInvStates, bit, "NORMAL", "INVERT") {}

}  // namespace kirra::editor
