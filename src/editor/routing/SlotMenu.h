#pragma once
// The menus of the modulation-slot window, level by level: the source menu (knobs, modulators,
// MIDI values, controllers) and the destination menu (operator and modulator parameters, routing
// gains, slot sensitivities, the main section). Each line either opens another level, goes back
// to its parent, or chooses a source or destination number. Built from the modules now in the
// slots, so a menu built after a type change lists the new module's parameters.

#include <string>
#include <vector>

namespace kirra {
class Plugin;
}

namespace kirra::editor {

enum class MenuLevel {
    kSources,
    kKnobs,
    kModulatorSources,
    kMidi,
    kControllers,
    kDestinations,
    kOperators,
    kOperatorParameters,
    kModulators,
    kModulatorParameters,
    kSignalPath,
    kSlotSensitivities,
    kMainSection,
};

struct MenuEntry {
    enum class Kind { kOpen, kParent, kChoose };

    Kind kind;
    std::string text;
    MenuLevel level = MenuLevel::kSources;  // kOpen: the level it opens
    int moduleSlot = 0;                     // kOpen: the operator or modulator of that level
    int choice = 0;                         // kChoose: the source or destination number
};

struct SlotMenu {
    MenuLevel level = MenuLevel::kSources;
    int moduleSlot = 0;
    std::vector<MenuEntry> entries;

    static SlotMenu build(MenuLevel level, int moduleSlot, Plugin& plugin);
    bool isSourceMenu() const;
    // The level a ".. [parent]" line goes back to.
    MenuLevel parent() const;
    // The line choosing a number, or -1.
    int lineOfChoice(int choice) const;
};

}  // namespace kirra::editor
