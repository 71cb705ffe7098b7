#pragma once
// What the knobs ask of the editor besides value changes: MIDI learn and renaming.

#include <string>

namespace kirra::editor {

class KnobListener {
  public:
    virtual void learnRequested(int tag) = 0;
    virtual void knobRenamed(int tag, const std::string& name) = 0;

  protected:
    ~KnobListener() = default;
};

}  // namespace kirra::editor
