#include "editor/panels/ModulePanel.h"

#include <algorithm>
#include <cstring>

#include "editor/CTextPrinter.h"
#include "engine/EditHistory.h"
#include "engine/Plugin.h"
#include "gui/Frame.h"

namespace kirra::editor {

namespace {

constexpr int kMargin = 2;
constexpr int kColumnGap = 8;
// Between the last row of controls and the plot.
constexpr int kPlotGap = 3;
// The text font is monospaced, a little under six pixels a character.
constexpr int kCaptionCharacterWidth = 6;
// What a value keeps at least beside a long caption.
constexpr int kLeastValueWidth = 30;

}  // namespace

ModulePanel::ModulePanel(const gui::Rect& rect, const PanelContext& context, int type)
    : ViewContainer(rect),
      context_(context),
      type_(type),
      access_(context.plugin, context.kind, context.slot, type) {
    access_.read([this](const Module& module) {
        positionCount_ = module.getPositionCount();
        for (int position = 0; position < positionCount_; ++position) {
            module.getCaption(position, captions_[position]);
            // Positions the module's panel labels otherwise go by their parameter name.
            if (captions_[position][0] == 0) module.getParameterName(position, captions_[position]);
            defaults_[position] = module.getDefaultValue(position);
        }
    });
    readSnapshot(snapshot_);
}

ModulePanel::~ModulePanel() {
    access_.setEditing(false);
    // A drag cut short by the rebuild still ends its gesture for the host and the history.
    for (CModuleParam* field : fields_)
        if (field->isDragging()) context_.editor.endEdit(field->getTag());
}

gui::Control* ModulePanel::controlAt(int position) const {
    return position >= 0 && position < Module::kMaxPositions ? controls_[position] : nullptr;
}

int ModulePanel::positionOf(int index) const {
    int position = index - parameterIndex(0);
    return position >= 0 && position < positionCount_ ? position : -1;
}

gui::Rect ModulePanel::cellRect(int column, int row) const {
    const gui::Rect& panel = getRect();
    const int top = panel.top + kMargin + row * kRowHeight;
    const int bottom = top + kRowHeight - 1;
    if (column == kFullWidth) return {panel.left + kMargin, top, panel.right - kMargin, bottom};
    const int width = (panel.width() - 2 * kMargin - kColumnGap) / 2;
    const int left = panel.left + kMargin + column * (width + kColumnGap);
    return {left, top, left + width, bottom};
}

int ModulePanel::nameWidth(int position, int column) const {
    const int cellWidth = cellRect(column, 0).width();
    const int captionWidth =
        static_cast<int>(std::strlen(captions_[position])) * kCaptionCharacterWidth +
        kCaptionCharacterWidth;
    return std::min(captionWidth, cellWidth - kLeastValueWidth);
}

gui::Rect ModulePanel::placeCell(int column, int row) {
    rowsUsed_ = std::max(rowsUsed_, row + 1);
    return cellRect(column, row);
}

gui::Rect ModulePanel::areaBelowControls() const {
    const gui::Rect& panel = getRect();
    return {panel.left + kMargin, panel.top + kMargin + rowsUsed_ * kRowHeight + kPlotGap,
            panel.right - kMargin, panel.bottom - kMargin};
}

void ModulePanel::adoptControl(std::unique_ptr<gui::Control> control, int position) {
    if (position < 0 || position >= Module::kMaxPositions) return;
    control->setDefaultValue(defaults_[position]);
    control->setValue(snapshot_.base[position]);
    if (auto* field = dynamic_cast<CModuleParam*>(control.get())) {
        // A text may depend on the value just set (the field asked with its old value).
        field->refreshText();
        fields_.push_back(field);
    }
    controls_[position] = addView(std::move(control));
}

void ModulePanel::addControls(const PanelControl* controls, int count) {
    for (int k = 0; k < count; ++k) {
        const PanelControl& control = controls[k];
        if (control.states == 0) {
            addField(control.position, control.column, control.row);
        } else {
            addChoice(control.position, control.column, control.row, control.states,
                      control.available);
        }
    }
}

void ModulePanel::follow(int position, std::function<void(float value)> update) {
    if (position < 0 || position >= Module::kMaxPositions) return;
    update(snapshot_.base[position]);
    followers_.push_back({position, std::move(update)});
}

void ModulePanel::parameterChanged(int index, float value) {
    const int position = positionOf(index);
    if (position < 0) return;
    snapshot_.base[position] = value;
    if (gui::Control* control = controls_[position]) {
        // The user's drag wins over what comes back from the host meanwhile.
        auto* field = dynamic_cast<CModuleParam*>(control);
        if (field == nullptr || !field->isDragging()) control->setValue(value);
    }
    for (const Follower& follower : followers_) {
        if (follower.position == position) follower.update(value);
    }
    positionChanged(position, value);
}

bool ModulePanel::readSnapshot(Snapshot& snapshot) {
    bool editing = false;
    int previewMode = 0;
    bool read = access_.read([&](const Module& module) {
        const int positions = module.getPositionCount();
        for (int position = 0; position < positions; ++position) {
            snapshot.base[position] = module.getBaseValue(position);
            snapshot.left[position] = module.getModulatedValue(position, 0);
            snapshot.right[position] = module.getModulatedValue(position, 1);
        }
        editing = module.isEditing();
        previewMode = module.getPreviewMode();
        snapshot.sampleRate = module.getSampleRate();
        snapshot.tempoBpm = context_.plugin.getCurrentTempo();
        readRunning(module);
    });
    if (!read) return false;
    // While the user edits, or a modal view covers the editor, the plot shows the base values.
    gui::Frame* frame = getFrame();
    const bool modalOpen = frame != nullptr && frame->isModalOpen();
    snapshot.previewing = (previewMode == 1 || previewMode == 2) && !editing && !modalOpen;
    const float* source = !snapshot.previewing ? snapshot.base
                          : previewMode == 1   ? snapshot.left
                                               : snapshot.right;
    for (int position = 0; position < Module::kMaxPositions; ++position)
        snapshot.shown[position] = source[position];
    return true;
}

void ModulePanel::idle() {
    Snapshot snapshot;
    if (!readSnapshot(snapshot)) return;
    snapshot_ = snapshot;
    updatePlot(snapshot_);
    for (CModuleParam* field : fields_) {
        const int position = field->getPosition();
        ModulationShown shown;
        shown.drivers = modulationDrivers(context_.plugin, parameterIndex(position));
        shown.driven = !shown.drivers.empty();
        shown.left = snapshot.left[position];
        shown.right = snapshot.right[position];
        field->setModulation(shown);
    }
}

void ModulePanel::valueChanged(gui::Control* control) {
    // The values a module converts before the change belong to the same step.
    EditHistory::Gesture gesture(context_.plugin.getEditHistory());
    const int position = positionOf(control->getTag());
    if (position >= 0) {
        beforeChange(position, control->getValue());
        snapshot_.base[position] = control->getValue();
    }
    context_.editor.valueChanged(control);
}

void ModulePanel::beginEdit(int tag) {
    context_.editor.beginEdit(tag);
}

void ModulePanel::endEdit(int tag) {
    context_.editor.endEdit(tag);
}

void ModulePanel::writeAutomated(int position, float value) {
    context_.plugin.setParameterAutomated(parameterIndex(position), value);
}

void ModulePanel::writeModeChange(int modePosition, float modeValue, const int* positions,
                                  const float* values, int count, bool tellHost) {
    Plugin& plugin = context_.plugin;
    {
        // The converted values and the new mode reach the audio at one block start.
        Plugin::ChangeBatch batch(plugin);
        for (int k = 0; k < count; ++k)
            plugin.setParameter(parameterIndex(positions[k]), values[k]);
        plugin.setParameter(parameterIndex(modePosition), modeValue);
    }
    if (!tellHost) return;
    for (int k = 0; k < count; ++k)
        plugin.setParameterAutomated(parameterIndex(positions[k]), values[k]);
}

void ModulePanel::draw(gui::DrawContext& context) {
    if (getChildCount() > 0) return;
    CTextPrinter::print(context, "no parameters", getRect(), gui::Align::kCenter,
                        CTextPrinter::Style::kDimmed);
}

}  // namespace kirra::editor
