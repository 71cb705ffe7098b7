#pragma once
// What a control shows of the modulation that drives its parameter: the modulated copies
// (left and right) beside its base value, and the slots that drive it ("S2 S7") for its hover
// text. Read from the parameter values and the modulated copies by the editor's idle.

#include <string>

namespace kirra {
class Plugin;
}

namespace kirra::editor {

struct ModulationShown {
    bool driven = false;
    float left = 0.0f;
    float right = 0.0f;
    std::string drivers;

    bool operator==(const ModulationShown& other) const {
        return driven == other.driven && left == other.left && right == other.right &&
               drivers == other.drivers;
    }
    bool operator!=(const ModulationShown& other) const { return !(*this == other); }
};

// The part of a control that keeps what it shows of modulation and whether the pointer is
// over it; the control redraws when either changes.
class ModulationDisplay {
  public:
    // True when what is shown changed.
    bool set(const ModulationShown& shown) {
        if (shown == shown_) return false;
        shown_ = shown;
        return true;
    }
    const ModulationShown& shown() const { return shown_; }
    bool setHovered(bool hovered) {
        const bool changed = hovered != hovered_;
        hovered_ = hovered;
        return changed;
    }
    // The drivers' list replaces the control's own text while the pointer is over it.
    bool showsDrivers() const { return hovered_ && shown_.driven; }

  private:
    ModulationShown shown_;
    bool hovered_ = false;
};

// A control that shows modulation: it keeps what is shown and redraws when that or the hover
// changes; the control draws it.
template <typename Control>
class ShowsModulation : public Control {
  public:
    using Control::Control;

    void setModulation(const ModulationShown& shown) {
        if (modulation_.set(shown)) this->invalid();
    }
    const ModulationShown& getModulation() const { return modulation_.shown(); }
    void onMouseEnter() override {
        if (modulation_.setHovered(true)) this->invalid();
    }
    void onMouseExit() override {
        if (modulation_.setHovered(false)) this->invalid();
    }

  protected:
    ModulationDisplay modulation_;
};

// The modulation destination an internal parameter is, or -1 where none is.
int modulationDestinationOf(int index);
// The unmuted slots with a source whose destination is the parameter's, as "S2 S7"; empty when
// none drives it.
std::string modulationDrivers(Plugin& plugin, int index);

}  // namespace kirra::editor
