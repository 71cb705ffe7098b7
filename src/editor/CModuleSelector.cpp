#include "editor/CModuleSelector.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "editor/CTextPrinter.h"
#include "editor/Skin.h"
#include "gui/Frame.h"
#include "gui/ListMenu.h"
#include "modules/ModuleMath.h"

namespace kirra::editor {

using gui::Rect;

namespace {
constexpr int kArrowWidth = 11;
constexpr const char* kBypassedSuffix = " (BYPASSED)";
}  // namespace

CModuleSelector::CModuleSelector(const Rect& rect, gui::ControlListener* listener, int tag,
                                 const Skin& skin, int menuBottom, int typeCount, const char* title,
                                 const CatalogueEntry& (*catalogue)(int type))
    : BypassBlinking(rect, listener, tag),
      skin_(skin),
      menuBottom_(menuBottom),
      typeCount_(typeCount),
      title_(title),
      catalogue_(catalogue) {}

int CModuleSelector::getType() const {
    return valueToIndex(getValue(), kModuleTypeStates);
}

void CModuleSelector::displayText(ModuleText& text) const {
    const char* name = catalogue_(getType()).shortName;
    if (isBlinkAlternate()) {
        formatText(text, "%s%s", name, kBypassedSuffix);
    } else if (isBypassed()) {
        // Padded to the same width, so the name stays put while the suffix blinks.
        formatText(text, "%-*s", static_cast<int>(std::strlen(name) + std::strlen(kBypassedSuffix)),
                   name);
    } else {
        setText(text, name);
    }
}

Rect CModuleSelector::leftArrowRect() const {
    const Rect& rect = getRect();
    return {rect.left, rect.top, rect.left + kArrowWidth, rect.top + kArrowWidth};
}

Rect CModuleSelector::rightArrowRect() const {
    const Rect& rect = getRect();
    return {rect.right - kArrowWidth, rect.top, rect.right, rect.top + kArrowWidth};
}

void CModuleSelector::draw(gui::DrawContext& context) {
    int type = getType();
    skin_.leftArrow().draw(context, leftArrowRect(), type <= 0 ? 1 : 0);
    skin_.rightArrow().draw(context, rightArrowRect(), type >= typeCount_ - 1 ? 1 : 0);
    ModuleText text = "";
    displayText(text);
    const Rect& rect = getRect();
    Rect nameBox{rect.left + kArrowWidth + 2, rect.top, rect.right - kArrowWidth - 2, rect.bottom};
    // Left-aligned at the centred position of the plain name, so that blinking moves nothing.
    int nameWidth =
        static_cast<int>(context.textWidth(catalogue_(type).shortName, Skin::captionFont()));
    int left = nameBox.left + (nameBox.width() - nameWidth) / 2;
    gui::Color color = isBypassed() ? Skin::kAccent : Skin::kLight;
    context.drawText(text, {left, rect.top, nameBox.right, rect.bottom}, gui::Align::kLeft,
                     Skin::captionFont(), color);
}

void CModuleSelector::selectType(int type) {
    if (type < 0 || type >= typeCount_ || type == getType()) return;
    changeValue(indexToValue(type, kModuleTypeStates));
}

bool CModuleSelector::onMouseDown(const gui::MouseEvent& event) {
    if (!event.isLeft()) return false;
    int type = getType();
    if (leftArrowRect().contains(event.where)) {
        selectType(type - 1);
    } else if (rightArrowRect().contains(event.where)) {
        selectType(type + 1);
    } else {
        openList();
    }
    return true;
}

bool CModuleSelector::onWheel(const gui::MouseEvent& /*event*/, float steps) {
    selectType(getType() + (steps > 0 ? -1 : 1));
    return true;
}

void CModuleSelector::openList() {
    gui::Frame* frame = getFrame();
    if (frame == nullptr) return;
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(typeCount_));
    for (int type = 0; type < typeCount_; ++type)
        lines.emplace_back(catalogue_(type).text);
    gui::ListMenuStyle style;
    style.font = Skin::listFont();
    style.lineHeight = 10;
    style.text = Skin::kLight;
    style.background = Skin::kScreen;
    style.highlight = Skin::kLight;
    style.border = Skin::kLight.withAlpha(160);
    const Rect& rect = getRect();
    // Down to the given bottom; a short catalogue that nearly fits gets the few pixels more
    // that spare it a scroll bar.
    int wholeList = rect.top + 2 + (style.lineHeight + 2) + typeCount_ * style.lineHeight;
    constexpr int kSlackPixels = 10;
    int bottom =
        wholeList <= menuBottom_ + kSlackPixels ? std::max(wholeList, menuBottom_) : menuBottom_;
    Rect listRect{rect.left, rect.top, rect.right, bottom};
    frame->showModal(std::make_unique<gui::ListMenu>(listRect, title_, std::move(lines), getType(),
                                                     style,
                                                     [this](int type) { selectType(type); }));
}

}  // namespace kirra::editor
