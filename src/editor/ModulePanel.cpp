#include "editor/ModulePanel.h"

#include "editor/CTextPrinter.h"

namespace kirra::editor {

ModulePanel::ModulePanel(const gui::Rect& rect, gui::ControlListener* listener,
                         std::unique_ptr<ModuleAccess> access)
    : ViewContainer(rect), access_(std::move(access)) {
    ModuleDescription description = access_->describe();
    const int count = static_cast<int>(description.fields.size());
    const int rows = rect.height() / kRowHeight;
    const int columns = count <= rows ? 1 : (count <= 2 * rows ? 2 : 3);
    constexpr int kColumnGap = 6;
    const int columnWidth = (rect.width() - 4 - (columns - 1) * kColumnGap) / columns;
    const int nameWidth = columns == 1 ? columnWidth / 2 : columnWidth * 11 / 20;
    for (int i = 0; i < count && i < columns * rows; ++i) {
        const ModuleField& field = description.fields[i];
        int column = i / rows;
        int row = i % rows;
        int left = rect.left + 2 + column * (columnWidth + kColumnGap);
        int top = rect.top + 2 + row * kRowHeight;
        auto control = std::make_unique<CModuleParam>(
            gui::Rect{left, top, left + columnWidth, top + kRowHeight - 1}, listener,
            access_->parameterIndex(field.position), field.caption.c_str(), access_.get(),
            field.position, nameWidth);
        control->setDefaultValue(field.defaultValue);
        control->setValue(field.value);
        fields_.push_back(addView(std::move(control)));
    }
}

CModuleParam* ModulePanel::fieldFor(int index) const {
    for (CModuleParam* field : fields_) {
        if (field->getTag() == index) return field;
    }
    return nullptr;
}

void ModulePanel::refreshTexts() {
    for (CModuleParam* field : fields_)
        field->refreshText();
}

void ModulePanel::draw(gui::DrawContext& context) {
    if (!fields_.empty()) return;
    CTextPrinter::print(context, "no parameters", getRect(), gui::Align::kCenter,
                        CTextPrinter::Style::kDimmed);
}

}  // namespace kirra::editor
