#pragma once
// What the engine tells its editor. Calls may come from any host thread, the audio thread
// included: an implementation only stores values and marks views dirty.

namespace kirra {

class EditorNotifications {
  public:
    // An internal parameter changed (host, program load, learned controller).
    virtual void parameterChanged(int index, float value) = 0;
    // MIDI learn progressed: the learn state and the controller just seen (or -1).
    virtual void learnStateChanged(int state, int controller) = 0;
    // Everything may have changed (program selection).
    virtual void redrawAll() = 0;

  protected:
    ~EditorNotifications() = default;
};

}  // namespace kirra
