#pragma once
// The editor's frame with everything on it: the modulator section (slot buttons, type picker,
// panel), the main section (page buttons and the shown page), the operator section, the knob
// row with the power switch, and the four meters. Built in the order the editor opens; switches
// panels and pages when the shown slot or page changes.

#include <atomic>
#include <string>

#include "editor/CMeter.h"
#include "editor/CModuleButton.h"
#include "editor/CModuleSelector.h"
#include "editor/CMyNameKnob.h"
#include "editor/EditorTags.h"
#include "editor/KnobListener.h"
#include "editor/LibraryOperations.h"
#include "editor/MyFrame.h"
#include "editor/ValueTextSource.h"
#include "editor/panels/ModulePanel.h"
#include "engine/MainSection.h"
#include "engine/ParameterIndex.h"
#include "gui/TextLabel.h"

namespace kirra {
class Plugin;
}

namespace kirra::editor {

class CLibWnd;
class ModulationPage;
class SignalPathPage;
class SlotEditing;

class KirraFrame : public MyFrame {
  public:
    // The main section's pages, by the choices of "Curr MAIN".
    static constexpr int kPages = param::kPageStates;
    // Input left and right, output left and right.
    static constexpr int kMeters = 4;

    struct Context {
        Plugin& plugin;
        gui::ControlListener& controls;
        KnobListener& knobs;
        LibraryOperations& library;
        ValueTextSource& preferences;
        SlotEditing& slots;
        // The editor's own state, read whenever a page is built.
        const std::atomic<int>& matrixView;  // the signal-path page's tab
    };

    explicit KirraFrame(const Context& context);

    CMyNameKnob* assignableKnob(int knob) const { return assignableKnobs_[knob]; }
    CMyKnob* mainKnob(int knob) const { return mainKnobs_[knob]; }
    gui::OnOffButton* powerSwitch() const { return power_; }
    CModuleButton* operatorButton(int slot) const { return operators_.buttons[slot]; }
    CModuleButton* modulatorButton(int slot) const { return modulators_.buttons[slot]; }
    CModuleButton* pageButton(int page) const { return pageButtons_[page]; }
    CModuleSelector* operatorSelector() const { return operators_.selector; }
    CModuleSelector* modulatorSelector() const { return modulators_.selector; }
    ModulePanel* operatorPanel() const { return operators_.panel; }
    ModulePanel* modulatorPanel() const { return modulators_.panel; }
    CMeter* meter(int index) const { return meters_[index]; }
    // The meters take the hold time and fall-back speed now set.
    void readMeterSettings();
    int shownOperator() const { return operators_.shown; }
    int shownModulator() const { return modulators_.shown; }
    int shownPage() const { return shownPage_; }
    gui::View* currentPage() const { return page_; }
    const std::string& pageTitle() const { return pageTitle_->getText(); }
    CLibWnd* library() const { return library_; }
    ModulationPage* modulationPage() const { return modulationPage_; }
    SignalPathPage* signalPathPage() const { return signalPathPage_; }

    // Shows a slot: its button lit, its type and bypass state in the picker, its panel.
    void showOperator(int slot) { showSlot(operators_, slot); }
    void showModulator(int slot) { showSlot(modulators_, slot); }
    // A slot's type changed: the picker and the panel follow while the slot is shown.
    void operatorTypeChanged(int slot, float value) { typeChanged(operators_, slot, value); }
    void modulatorTypeChanged(int slot, float value) { typeChanged(modulators_, slot, value); }
    // A slot's bypass changed: its button, and its picker while it is shown.
    void operatorBypassChanged(int slot, bool bypassed) {
        bypassChanged(operators_, slot, bypassed);
    }
    void modulatorBypassChanged(int slot, bool bypassed) {
        bypassChanged(modulators_, slot, bypassed);
    }
    // Removes the shown page and builds another.
    void showPage(int page);
    // An assignable knob counts as used when a modulation slot reads it.
    void markKnobUsage();
    // The knob's name from its eight character parameters.
    void readKnobName(int knob);

  private:
    // The operator or the modulator section.
    struct SlotSection {
        SlotKind kind;
        int firstType;    // type parameter of slot 1
        int firstBypass;  // bypass parameter of slot 1
        gui::Rect panelArea;
        CModuleButton* buttons[param::kSlotCount] = {};
        CModuleSelector* selector = nullptr;
        ModulePanel* panel = nullptr;
        int shown = 0;
    };

    float value(int index) const;
    void showSlot(SlotSection& section, int slot);
    void rebuildPanel(SlotSection& section);
    void typeChanged(SlotSection& section, int slot, float value);
    void bypassChanged(SlotSection& section, int slot, bool bypassed);
    void buildKnobs();
    void buildOperatorSection();
    void buildMainSection();
    void buildModulatorSection();
    void buildMeters();

    Plugin& plugin_;
    Context context_;
    CMyNameKnob* assignableKnobs_[param::kKnobCount] = {};
    CMyKnob* mainKnobs_[MainSection::kLevelCount] = {};
    gui::OnOffButton* power_ = nullptr;
    SlotSection operators_;
    SlotSection modulators_;
    CModuleButton* pageButtons_[kPages] = {};
    CMeter* meters_[kMeters] = {};
    gui::View* page_ = nullptr;
    gui::TextLabel* pageTitle_ = nullptr;
    CLibWnd* library_ = nullptr;
    ModulationPage* modulationPage_ = nullptr;
    SignalPathPage* signalPathPage_ = nullptr;
    int shownPage_ = 1;
};

}  // namespace kirra::editor
