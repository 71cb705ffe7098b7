#include "editor/KirraFrame.h"

#include <memory>

#include "editor/CLibWnd.h"
#include "editor/EditorLayout.h"
#include "editor/EditorZoom.h"
#include "editor/PreferencesPage.h"
#include "editor/panels/PanelFactory.h"
#include "editor/routing/ModulationPage.h"
#include "editor/routing/SignalPathPage.h"
#include "editor/routing/SlotEditing.h"
#include "editor/routing/SourceLabels.h"
#include "engine/ABCompare.h"
#include "engine/EditHistory.h"
#include "engine/ModulationSlots.h"
#include "engine/ParameterDescription.h"
#include "engine/Plugin.h"
#include "modules/ModuleMath.h"

namespace kirra::editor {

using gui::Rect;

namespace {

const char* const kPageLabels[KirraFrame::kPages] = {"OPS", "LIB", "PREF", "MODS"};
// The names the host shows for the four choices of "Curr MAIN".
const char* const kPageTitles[KirraFrame::kPages] = {"OP ROUTING", "LIBRARY", "PREFERENCES",
                                                     "MOD ROUTING"};

}  // namespace

KirraFrame::KirraFrame(const Context& context)
    : MyFrame(layout::kWidth, layout::kHeight, context.zoom),
      plugin_(context.plugin),
      context_(context),
      operators_{SlotKind::kOperator, param::kOperatorType1, param::kOperatorBypass1,
                 layout::kOperatorPanel},
      modulators_{SlotKind::kModulator, param::kModulatorType1, param::kModulatorBypass1,
                  layout::kModulatorPanel} {
    buildKnobs();
    buildOperatorSection();
    buildMainSection();
    buildModulatorSection();
    buildMeters();
    buildCommands();
}

float KirraFrame::value(int index) const {
    if (index == tags::kZoom) {
        // The choice, which a host that refused the size still shows for the next open.
        return indexToValue(zoom::stepBelow(context_.chosenZoom.load() / 100.0), zoom::kSteps);
    }
    return plugin_.getParameter(index);
}

void KirraFrame::buildKnobs() {
    for (int knob = 0; knob < param::kKnobCount; ++knob) {
        auto control = std::make_unique<CMyNameKnob>(
            layout::kAssignableKnobX[knob], &context_.controls, param::kKnob1 + knob,
            skin().assignableKnob(), &context_.knobs, knob + 1);
        control->setValue(value(param::kKnob1 + knob));
        assignableKnobs_[knob] = addView(std::move(control));
        readKnobName(knob);
    }
    markKnobUsage();
    for (int knob = 0; knob < MainSection::kLevelCount; ++knob) {
        auto control =
            std::make_unique<CMyKnob>(layout::kMainKnobX[knob], &context_.controls,
                                      param::kInput + knob, skin().mainKnob(), &context_.knobs);
        control->setDefaultValue(0.5f);
        control->setValue(value(param::kInput + knob));
        mainKnobs_[knob] = addView(std::move(control));
    }
    power_ = addView(std::make_unique<gui::OnOffButton>(layout::kPowerSwitch, &context_.controls,
                                                        param::kPower, skin().powerSwitch()));
    power_->setValue(value(param::kPower) >= 0.5f ? 1.0f : 0.0f);
}

void KirraFrame::buildSlotControls(SlotSection& section, const gui::Rect* buttons,
                                   const char* label, int firstButtonTag,
                                   const gui::Rect& bypassSwitch) {
    for (int slot = 0; slot < param::kSlotCount; ++slot) {
        section.buttons[slot] = addView(std::make_unique<CModuleButton>(
            buttons[slot], &context_.controls, firstButtonTag + slot, skin().button(),
            label + std::to_string(slot + 1)));
        const int bypass = section.firstBypass + slot;
        section.buttons[slot]->setRightClick([this, bypass] {
            context_.slots.editParameter(bypass, value(bypass) >= 0.5f ? 0.0f : 1.0f);
        });
    }
    section.bypassSwitch =
        addView(std::make_unique<CBypassSwitch>(bypassSwitch, &context_.controls, 0));
}

void KirraFrame::buildOperatorSection() {
    buildSlotControls(operators_, layout::kOperatorButtons, "OP", tags::kOperatorButton1,
                      layout::kOperatorBypassSwitch);
    operators_.selector = addView(
        std::make_unique<COPSelector>(layout::kOperatorSelector, &context_.controls,
                                      param::kOperatorType1, skin(), layout::kOperatorMenuBottom));
    showOperator(valueToIndex(value(param::kCurrentOperator), param::kPageStates));
}

void KirraFrame::buildMainSection() {
    for (int page = 0; page < kPages; ++page) {
        pageButtons_[page] = addView(std::make_unique<CModuleButton>(
            layout::kPageButtons[page], &context_.controls, tags::kPageButton0 + page,
            skin().button(), kPageLabels[page]));
    }
    pageTitle_ = addView(std::make_unique<gui::TextLabel>(
        layout::kMainTitle, "", Skin::captionFont(), Skin::kDimText, gui::Align::kCenter));
    showPage(valueToIndex(value(param::kCurrentMain), param::kPageStates));
}

void KirraFrame::buildModulatorSection() {
    buildSlotControls(modulators_, layout::kModulatorButtons, "MOD", tags::kModulatorButton1,
                      layout::kModulatorBypassSwitch);
    modulators_.selector = addView(std::make_unique<CMODSelector>(
        layout::kModulatorSelector, &context_.controls, param::kModulatorType1, skin(),
        layout::kModulatorMenuBottom));
    showModulator(valueToIndex(value(param::kCurrentModulator), param::kPageStates));
}

void KirraFrame::buildMeters() {
    const Rect* rects[kMeters] = {&layout::kInputMeters[0], &layout::kInputMeters[1],
                                  &layout::kOutputMeters[0], &layout::kOutputMeters[1]};
    static const char* const kNames[kMeters] = {"Input left", "Input right", "Output left",
                                                "Output right"};
    for (int meter = 0; meter < kMeters; ++meter) {
        meters_[meter] = addView(std::make_unique<CMeter>(*rects[meter], skin()));
        meters_[meter]->setName(kNames[meter]);
    }
    readMeterSettings();
    for (int pair = 0; pair < 2; ++pair) {
        meters_[2 * pair]->setLinkedMeter(meters_[2 * pair + 1]);
        meters_[2 * pair + 1]->setLinkedMeter(meters_[2 * pair]);
    }
}

void KirraFrame::buildCommands() {
    using Face = CCommandButton::Face;
    undo_ = addView(std::make_unique<CCommandButton>(layout::kUndoButton, &context_.controls,
                                                     tags::kUndo, Face::kArrowLeft));
    redo_ = addView(std::make_unique<CCommandButton>(layout::kRedoButton, &context_.controls,
                                                     tags::kRedo, Face::kArrowRight));
    compare_ = addView(std::make_unique<CCommandButton>(layout::kCompareSwitch, &context_.controls,
                                                        tags::kCompareSwitch, Face::kText, "A"));
    addView(std::make_unique<CCommandButton>(layout::kCopyAToB, &context_.controls, tags::kCopyAToB,
                                             Face::kText, "A>B"));
    addView(std::make_unique<CCommandButton>(layout::kCopyBToA, &context_.controls, tags::kCopyBToA,
                                             Face::kText, "B>A"));
    readHistoryState();
}

void KirraFrame::readHistoryState() {
    const EditHistory& history = plugin_.getEditHistory();
    undo_->setAvailable(history.canUndo());
    redo_->setAvailable(history.canRedo());
    compare_->setLabel(plugin_.getABCompare().playing() == ABCompare::kA ? "A" : "B");
}

bool KirraFrame::onShortcut(const gui::KeyEvent& event) {
    if ((event.modifiers & gui::kControl) == 0 || event.key != gui::Key::kCharacter) return false;
    EditHistory& history = plugin_.getEditHistory();
    const bool shift = (event.modifiers & gui::kShift) != 0;
    if (event.character == 'z' && !shift) {
        history.undo();
    } else if (event.character == 'y' || (event.character == 'z' && shift)) {
        history.redo();
    } else {
        return false;
    }
    readHistoryState();
    return true;
}

void KirraFrame::readMeterSettings() {
    for (CMeter* meter : meters_) {
        meter->setHoldTime(units::meterHoldMs(value(param::kMeterHold)));
        meter->setFalloff(units::meterFalloffDbPerSecond(value(param::kMeterFalloff)));
    }
}

void KirraFrame::showSlot(SlotSection& section, int slot) {
    if (slot < 0 || slot >= param::kSlotCount) return;
    section.shown = slot;
    for (int k = 0; k < param::kSlotCount; ++k) {
        section.buttons[k]->setValue(k == slot ? 1.0f : 0.0f);
        section.buttons[k]->setBypassed(value(section.firstBypass + k) >= 0.5f);
    }
    section.selector->setTag(section.firstType + slot);
    section.selector->setValue(value(section.firstType + slot));
    section.selector->setBypassed(value(section.firstBypass + slot) >= 0.5f);
    section.bypassSwitch->setTag(section.firstBypass + slot);
    section.bypassSwitch->setValue(value(section.firstBypass + slot) >= 0.5f ? 1.0f : 0.0f);
    rebuildPanel(section);
}

void KirraFrame::rebuildPanel(SlotSection& section) {
    if (section.panel != nullptr) removeView(section.panel);
    section.panel = addView(createModulePanel(
        section.panelArea, {plugin_, context_.controls, section.kind, section.shown}));
}

void KirraFrame::typeChanged(SlotSection& section, int slot, float value) {
    if (slot != section.shown) return;
    section.selector->setValue(value);
    rebuildPanel(section);
}

void KirraFrame::bypassChanged(SlotSection& section, int slot, bool bypassed) {
    section.buttons[slot]->setBypassed(bypassed);
    if (slot != section.shown) return;
    section.selector->setBypassed(bypassed);
    section.bypassSwitch->setValue(bypassed ? 1.0f : 0.0f);
}

void KirraFrame::showPage(int page) {
    if (page < 0 || page >= kPages) return;
    if (page_ != nullptr) removeView(page_);
    page_ = nullptr;
    library_ = nullptr;
    modulationPage_ = nullptr;
    signalPathPage_ = nullptr;
    shownPage_ = page;
    for (int k = 0; k < kPages; ++k)
        pageButtons_[k]->setValue(k == page ? 1.0f : 0.0f);
    pageTitle_->setText(kPageTitles[page]);
    ParameterReader reader = [this](int index) { return value(index); };
    if (page == 0) {
        signalPathPage_ = addView(std::make_unique<SignalPathPage>(
            layout::kPageArea, &context_.controls, reader,
            [this] { return plugin_.getSampleRate(); }, context_.matrixView.load()));
        page_ = signalPathPage_;
    } else if (page == 1) {
        library_ = addView(std::make_unique<CLibWnd>(layout::kLibraryArea, context_.library));
        page_ = library_;
    } else if (page == 2) {
        page_ = addView(std::make_unique<PreferencesPage>(layout::kPageArea, &context_.controls,
                                                          context_.preferences, reader));
    } else {
        modulationPage_ = addView(std::make_unique<ModulationPage>(
            layout::kPageArea, &context_.controls, context_.preferences,
            plugin_.getModulationPreview(), plugin_, context_.slots));
        page_ = modulationPage_;
    }
}

void KirraFrame::markKnobUsage() {
    bool used[param::kKnobCount] = {};
    for (int slot = 0; slot < param::kModulationSlots; ++slot) {
        const int knob = valueToIndex(value(param::kSlotSource1 + slot), param::kSourceStates) -
                         ModulationSlots::kSourceKnob1;
        if (knob >= 0 && knob < param::kKnobCount) used[knob] = true;
    }
    for (int knob = 0; knob < param::kKnobCount; ++knob) {
        assignableKnobs_[knob]->setUsed(used[knob]);
        // A knob that becomes used shows its value again.
        if (used[knob]) assignableKnobs_[knob]->setValue(value(param::kKnob1 + knob));
    }
}

void KirraFrame::readKnobName(int knob) {
    assignableKnobs_[knob]->setName(knobName(plugin_, knob));
}

}  // namespace kirra::editor
