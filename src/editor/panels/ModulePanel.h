#pragma once
// The panel of the module in one slot: its controls in rows of two columns, each control tagged
// with the internal parameter index it edits, and the module's plot below them.
//
// The panel is the first listener of its own controls, so that a module can convert related
// values (a mode switch keeping the period of a rate) before a change goes on to the editor and
// the host. Values reach the panel two ways, both on the editor's thread: parameter changes taken
// from the editor's mailbox set the controls, and the periodic idle reads, under the engine
// mutex, what the plot draws: base values, or one channel's modulated copies while the
// modulation preview is on, and the module's running values (a phase, a level history).

#include <functional>
#include <memory>
#include <vector>

#include "editor/CModuleParam.h"
#include "editor/CModuleParamDiscreet.h"
#include "editor/ModuleAccess.h"
#include "gui/ViewContainer.h"
#include "modules/Module.h"

namespace kirra {
class Plugin;
}

namespace kirra::editor {

struct PanelContext {
    Plugin& plugin;
    gui::ControlListener& editor;  // writes the parameters and tells the host
    SlotKind kind;
    int slot;
};

// One control of a panel's table: a value field (states 0) or a selector over `states` states
// of which the first `available` are offered (0 for all).
struct PanelControl {
    int position;
    int column;  // 0 or 1, or ModulePanel::kFullWidth
    int row;
    int states;
    int available;
};

class ModulePanel : public gui::ViewContainer, public gui::ControlListener {
  public:
    static constexpr int kRowHeight = 11;
    static constexpr int kFullWidth = -1;

    // What the plot is handed at each idle, read in one go under the engine mutex.
    struct Snapshot {
        float base[Module::kMaxPositions] = {};
        float left[Module::kMaxPositions] = {};
        float right[Module::kMaxPositions] = {};
        // What the plot shows: the base values, or the previewed channel's copies.
        float shown[Module::kMaxPositions] = {};
        bool previewing = false;
        float sampleRate = 44100.0f;
        float tempoBpm = 120.0f;
    };

    ModulePanel(const gui::Rect& rect, const PanelContext& context, int type);
    // A panel rebuilt or closed in the middle of a drag leaves its module not editing.
    ~ModulePanel() override;

    ModuleAccess& access() { return access_; }
    int getType() const { return type_; }
    // The value fields, in the order they were built.
    const std::vector<CModuleParam*>& fields() const { return fields_; }
    // The control of a position, or null.
    gui::Control* controlAt(int position) const;
    int parameterIndex(int position) const { return access_.parameterIndex(position); }
    const Snapshot& snapshot() const { return snapshot_; }

    // An internal parameter of this slot changed (editor thread, from the mailbox).
    void parameterChanged(int index, float value);
    // Hands the plot what it draws; nothing when the slot holds another module by now.
    void idle();

    void valueChanged(gui::Control* control) override;
    void beginEdit(int tag) override;
    void endEdit(int tag) override;
    void draw(gui::DrawContext& context) override;

  protected:
    // Builds a table of controls with the module's captions, defaults and values.
    void addControls(const PanelControl* controls, int count);
    template <size_t Count>
    void addControls(const PanelControl (&controls)[Count]) {
        addControls(controls, static_cast<int>(Count));
    }
    template <typename Field = CModuleParam>
    Field* addField(int position, int column, int row) {
        auto field = std::make_unique<Field>(placeCell(column, row), this, parameterIndex(position),
                                             captions_[position], &access_, position,
                                             nameWidth(position, column));
        Field* raw = field.get();
        adoptControl(std::move(field), position);
        return raw;
    }
    template <typename Choice = CModuleParamDiscreet>
    Choice* addChoice(int position, int column, int row, int states, int available = 0) {
        auto choice = std::make_unique<Choice>(
            placeCell(column, row), this, parameterIndex(position), captions_[position], &access_,
            position, states, available, nameWidth(position, column));
        Choice* raw = choice.get();
        adoptControl(std::move(choice), position);
        return raw;
    }
    // Calls `update` with a position's value now and whenever it changes: controls whose texts
    // depend on another parameter's choice follow it this way.
    void follow(int position, std::function<void(float value)> update);
    // A field whose text depends on a choice of the module (a CModeParam, the step sequencer's
    // state) is handed that choice's step the same way.
    template <typename Field>
    void followChoice(Field* field, int choicePosition, int states) {
        follow(choicePosition,
               [field, states](float value) { field->setMode(valueToIndex(value, states)); });
    }
    // Room for a position's caption in a cell; the value text takes the rest.
    int nameWidth(int position, int column) const;
    gui::Rect cellRect(int column, int row) const;
    // The cell of a new control; the plot goes under the lowest one.
    gui::Rect placeCell(int column, int row);
    // The area under the rows of controls, where the plot goes.
    gui::Rect areaBelowControls() const;
    float baseValue(int position) const { return snapshot_.base[position]; }
    // Writes a value as the user's edit (recorded by the host), as the controls do.
    void writeAutomated(int position, float value);
    // A mode switch with the values it converts: the converted values and the new mode reach
    // the engine together under its mutex, so that no audio block reads a converted value in the
    // old mode. The host is told of the converted values only with `tellHost`; the mode change
    // itself goes on to the editor and the host as the control's change.
    void writeModeChange(int modePosition, float modeValue, const int* positions,
                         const float* values, int count, bool tellHost);

    // Hooks. A user's change of a control, before it goes on to the editor.
    virtual void beforeChange(int /*position*/, float /*value*/) {}
    // A parameter's new value, after the control took it.
    virtual void positionChanged(int /*position*/, float /*value*/) {}
    // Running values of the module, read under the engine mutex at each idle.
    virtual void readRunning(const Module& /*module*/) {}
    // Hands the plot what it draws.
    virtual void updatePlot(const Snapshot& /*snapshot*/) {}

  private:
    void adoptControl(std::unique_ptr<gui::Control> control, int position);
    bool readSnapshot(Snapshot& snapshot);
    int positionOf(int index) const;

    PanelContext context_;
    int type_;
    ModuleAccess access_;
    Snapshot snapshot_;
    ModuleText captions_[Module::kMaxPositions] = {};
    float defaults_[Module::kMaxPositions] = {};
    int positionCount_ = 0;
    int rowsUsed_ = 0;
    gui::Control* controls_[Module::kMaxPositions] = {};
    std::vector<CModuleParam*> fields_;
    struct Follower {
        int position;
        std::function<void(float)> update;
    };
    std::vector<Follower> followers_;
};

}  // namespace kirra::editor
