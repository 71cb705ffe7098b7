#pragma once
// The editor's frame with everything on it: the modulator section (slot buttons, type picker,
// panel), the main section (page buttons and the shown page), the operator section, the knob
// row with the power switch, and the four meters. Built in the order the editor opens; switches
// panels and pages when the shown slot or page changes.

#include <atomic>
#include <string>

#include "editor/CBypassSwitch.h"
#include "editor/CCommandButton.h"
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
        // The zoom the user chose, in percent: the one drawn unless the host refused its size.
        const std::atomic<int>& chosenZoom;
        double zoom;  // the one drawn; 1.0 is 100 %
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
    CBypassSwitch* operatorBypassSwitch() const { return operators_.bypassSwitch; }
    CBypassSwitch* modulatorBypassSwitch() const { return modulators_.bypassSwitch; }
    ModulePanel* operatorPanel() const { return operators_.panel; }
    ModulePanel* modulatorPanel() const { return modulators_.panel; }
    CMeter* meter(int index) const { return meters_[index]; }
    CCommandButton* undoButton() const { return undo_; }
    CCommandButton* redoButton() const { return redo_; }
    CCommandButton* compareSwitch() const { return compare_; }
    // The undo and redo buttons grey out when the history has nothing for them; the A/B switch
    // names the program playing.
    void readHistoryState();
    // Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo.
    bool onShortcut(const gui::KeyEvent& event) override;
    // The meters take the hold time and fall-back speed now set.
    void readMeterSettings();
    int shownOperator() const { return operators_.shown; }
    int shownModulator() const { return modulators_.shown; }
    int shownPage() const { return shownPage_; }
    gui::View* currentPage() const { return page_; }
    const std::string& pageTitle() const { return pageTitle_->getText(); }
    CLibWnd* library() const { return library_; }
    Plugin& plugin() const { return plugin_; }
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
        CBypassSwitch* bypassSwitch = nullptr;
        ModulePanel* panel = nullptr;
        int shown = 0;
    };

    float value(int index) const;
    void showSlot(SlotSection& section, int slot);
    void rebuildPanel(SlotSection& section);
    void typeChanged(SlotSection& section, int slot, float value);
    void bypassChanged(SlotSection& section, int slot, bool bypassed);
    // The section's slot buttons (a right click toggles the slot's bypass) and header switch.
    void buildSlotControls(SlotSection& section, const gui::Rect* buttons, const char* label,
                           int firstButtonTag, const gui::Rect& bypassSwitch);
    void buildKnobs();
    void buildOperatorSection();
    void buildMainSection();
    void buildModulatorSection();
    void buildMeters();
    void buildCommands();

    Plugin& plugin_;
    Context context_;
    CMyNameKnob* assignableKnobs_[param::kKnobCount] = {};
    CMyKnob* mainKnobs_[MainSection::kLevelCount] = {};
    gui::OnOffButton* power_ = nullptr;
    SlotSection operators_;
    SlotSection modulators_;
    CModuleButton* pageButtons_[kPages] = {};
    CMeter* meters_[kMeters] = {};
    CCommandButton* undo_ = nullptr;
    CCommandButton* redo_ = nullptr;
    CCommandButton* compare_ = nullptr;
    gui::View* page_ = nullptr;
    gui::TextLabel* pageTitle_ = nullptr;
    CLibWnd* library_ = nullptr;
    ModulationPage* modulationPage_ = nullptr;
    SignalPathPage* signalPathPage_ = nullptr;
    int shownPage_ = 1;
};

}  // namespace kirra::editor
