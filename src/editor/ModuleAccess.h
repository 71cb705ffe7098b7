#pragma once
// The texts of the module in one slot, for the editor's value fields. The module may be replaced
// at any time by the host or the audio thread's owner, so every call takes the engine mutex and
// looks the module up afresh; nothing keeps a module pointer. An access made for one module type
// answers nothing while the slot holds another (a panel whose rebuild is still pending).

#include <functional>
#include <string>
#include <vector>

#include "editor/ValueTextSource.h"

namespace kirra {
class Module;
class Plugin;
}  // namespace kirra

namespace kirra::editor {

enum class SlotKind { kOperator, kModulator };

struct ModuleField {
    int position;
    std::string caption;
    float value;
    float defaultValue;
};

struct ModuleDescription {
    std::string name;
    std::vector<ModuleField> fields;  // the used positions, in order
};

class ModuleAccess : public ValueTextSource {
  public:
    static constexpr int kAnyType = -1;

    ModuleAccess(Plugin& plugin, SlotKind kind, int slot, int expectedType = kAnyType)
        : plugin_(plugin), kind_(kind), slot_(slot), expectedType_(expectedType) {}

    SlotKind getKind() const { return kind_; }
    int getSlot() const { return slot_; }
    // The internal parameter index of a position of this slot.
    int parameterIndex(int position) const;
    ModuleDescription describe();
    // Runs `reader` on the slot's module with the engine mutex held; false, without calling it,
    // when the slot holds another type than the one expected.
    bool read(const std::function<void(const Module&)>& reader);

    void valueText(int position, float value, ModuleText& text) override;
    float textToValue(int position, const char* text, float currentValue) override;
    void setEditing(bool editing) override;

  private:
    // The slot's module, or null when it is not of the expected type; valid only while the
    // engine mutex is held.
    Module* module();

    Plugin& plugin_;
    SlotKind kind_;
    int slot_;
    int expectedType_;
};

}  // namespace kirra::editor
