#include "editor/routing/CMatrixPage.h"

#include "editor/routing/LitBox.h"
#include "modules/ModuleMath.h"

namespace kirra::editor {

namespace {
const char* const kTabTitles[CMatrixPage::kViews] = {"CONNECTIONS", "CONFIGURATION"};
}  // namespace

CMatrixPage::CMatrixPage(const gui::Rect& rect, gui::ControlListener* listener, int tag, int view)
    : Control(rect, listener, tag) {
    setValue(indexToValue(view, kViews));
}

int CMatrixPage::getView() const {
    return valueToIndex(getValue(), kViews);
}

gui::Rect CMatrixPage::tabRect(int view) const {
    const gui::Rect& rect = getRect();
    int middle = (rect.left + rect.right) / 2;
    return view == kConnections ? gui::Rect{rect.left, rect.top, middle - 1, rect.bottom}
                                : gui::Rect{middle + 1, rect.top, rect.right, rect.bottom};
}

void CMatrixPage::draw(gui::DrawContext& context) {
    for (int view = 0; view < kViews; ++view)
        drawLitBox(context, tabRect(view), view == getView(), kTabTitles[view]);
}

bool CMatrixPage::onMouseDown(const gui::MouseEvent& event) {
    if (!event.isLeft()) return false;
    changeValue(indexToValue(1 - getView(), kViews));
    return true;
}

}  // namespace kirra::editor
