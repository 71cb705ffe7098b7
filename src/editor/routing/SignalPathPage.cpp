#include "editor/routing/SignalPathPage.h"

#include <memory>

#include "editor/CCaption.h"
#include "editor/KirraFrame.h"
#include "editor/routing/CMatrixConnOP.h"
#include "editor/routing/CMatrixPage.h"
#include "editor/routing/ConfigurationView.h"
#include "editor/routing/ConnectionsView.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleMath.h"

namespace kirra::editor {

using gui::Rect;

namespace {
constexpr int kCaptionHeight = 12;
constexpr int kTabsTop = 14;
constexpr int kTabsHeight = 11;
constexpr int kViewsTop = 27;
}  // namespace

SignalPathPage::SignalPathPage(const Rect& rect, gui::ControlListener* listener,
                               const ParameterReader& values, std::function<float()> sampleRate,
                               int view)
    : ViewContainer(rect), view_(view == CMatrixPage::kConfiguration ? view : 0) {
    addView(std::make_unique<CCaption>(
        Rect{rect.left + 2, rect.top, rect.right - 2, rect.top + kCaptionHeight},
        "OPERATOR CONFIGURATION"));
    tabs_ = addView(std::make_unique<CMatrixPage>(
        Rect{rect.left + 2, rect.top + kTabsTop, rect.right - 2, rect.top + kTabsTop + kTabsHeight},
        listener, tags::kMatrixView, view_));
    Rect views{rect.left, rect.top + kViewsTop, rect.right, rect.bottom};
    connections_ = addView(std::make_unique<ConnectionsView>(views, listener, values,
                                                             std::move(sampleRate), kChooserArea));
    configuration_ = addView(std::make_unique<ConfigurationView>(views, listener, values));
    showView(view_);
}

void SignalPathPage::showView(int view) {
    if (view != CMatrixPage::kConnections && view != CMatrixPage::kConfiguration) return;
    view_ = view;
    tabs_->setValue(indexToValue(view, CMatrixPage::kViews));
    connections_->setVisible(view == CMatrixPage::kConnections);
    configuration_->setVisible(view == CMatrixPage::kConfiguration);
}

void SignalPathPage::parameterChanged(int index, float value) {
    if (index == param::kOpLrMs || index == param::kOpInv) {
        configuration_->maskChanged(index, value);
    } else if (index >= param::kOperatorBypass1 &&
               index < param::kOperatorBypass1 + param::kSlotCount) {
        connections_->operatorBlock(index - param::kOperatorBypass1)->setBypassed(value >= 0.5f);
    } else if (gui::Control* control = connections_->findControl(index)) {
        // A field being dragged keeps the value under the pointer.
        auto* field = dynamic_cast<CModuleParam*>(control);
        if (field == nullptr || !field->isDragging()) control->setValue(value);
    }
}

void SignalPathPage::setBlinkPhase(int phase) {
    for (int op = 0; op < param::kSlotCount; ++op)
        connections_->operatorBlock(op)->setBlinkPhase(phase);
}

}  // namespace kirra::editor
