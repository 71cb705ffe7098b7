#pragma once
// MIDI learn: which controller drives each of the eight knobs and the Input, Mix and Output
// levels, and what the editor has asked to learn next. The editor and the state code write from
// their threads while the audio thread reads, so every value is a single atomic store.

#include <atomic>

namespace kirra {

class MidiLearn {
  public:
    // Controls that can learn: KNOB1..8, then Input, Mix, Output.
    static constexpr int kControls = 11;
    static constexpr int kNone = -1;
    enum State {
        kIdle = 0,
        kMonitor = 1,      // the editor shows the next controller's number
        kLearnKnob1 = 2,   // ..9 for KNOB1..8
        kLearnInput = 10,  // 11 Mix, 12 Output
        kStateCount = 13
    };

    MidiLearn();

    // Out-of-range states are ignored.
    void setState(int state);
    int getState() const { return state_.load(std::memory_order_relaxed); }

    // The controller number (0..127) a control follows, or kNone.
    int getLearnedController(int control) const;
    // Anything outside 0..127 forgets the control's controller.
    void setLearnedController(int control, int controller);

    // A control change arrived: in a learn state the control being learned takes the
    // controller; every controller message ends learning and monitoring.
    void controllerReceived(int controller);

    // The internal parameter a control moves: KNOB1..8 at 4..11, Input 1, Mix 2, Output 3.
    static int controlParameter(int control);
    // The learn state that makes a parameter's control learn; kIdle for parameters that cannot.
    static int learnStateOf(int parameter);

  private:
    std::atomic<int> state_{kIdle};
    std::atomic<int> learned_[kControls];
};

}  // namespace kirra
