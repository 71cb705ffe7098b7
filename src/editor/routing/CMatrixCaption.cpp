#include "editor/routing/CMatrixCaption.h"

#include <memory>

#include "editor/Skin.h"
#include "editor/routing/PredefinedRoutings.h"
#include "editor/routing/RoutingChooser.h"
#include "gui/Frame.h"
#include "modules/ModuleMath.h"

namespace kirra::editor {

CMatrixCaption::CMatrixCaption(const gui::Rect& rect, gui::ControlListener* listener, int tag,
                               const gui::Rect& chooserArea, std::function<int()> currentRouting)
    : Control(rect, listener, tag),
      chooserArea_(chooserArea),
      currentRouting_(std::move(currentRouting)) {}

CMatrixCaption::~CMatrixCaption() {
    gui::Frame* frame = getFrame();
    if (frame != nullptr && chooser_ != nullptr && frame->getModalView() == chooser_)
        frame->closeModal();
}

void CMatrixCaption::openChooser() {
    gui::Frame* frame = getFrame();
    if (frame == nullptr) return;
    auto chooser = std::make_unique<RoutingChooser>(
        chooserArea_, currentRouting_ ? currentRouting_() : -1,
        [this](int routing) { changeValue(indexToValue(routing, kPredefinedRoutings)); });
    chooser_ = chooser.get();
    frame->showModal(std::move(chooser));
}

void CMatrixCaption::draw(gui::DrawContext& context) {
    const gui::Rect& rect = getRect();
    context.setLineWidth(1.0);
    context.setLineStyle(gui::LineStyle::kSolid);
    context.setColor(Skin::kLight.withAlpha(70));
    context.frameRoundRect(rect, 2.0);
    gui::Rect text = rect;
    text.left += 4;
    context.drawText("PREDEFINED ROUTINGS", text, gui::Align::kLeft, Skin::captionFont(),
                     Skin::kLight.withAlpha(200));
    // A hint that a list opens here.
    text.right -= 4;
    context.drawText("...", text, gui::Align::kRight, Skin::captionFont(), Skin::kDimText);
}

bool CMatrixCaption::onMouseDown(const gui::MouseEvent& event) {
    if (!event.isLeft()) return false;
    openChooser();
    return true;
}

}  // namespace kirra::editor
