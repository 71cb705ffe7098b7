// MIDI messages from the host's event list, handled at their sample inside the block: the
// performance values the modulation slots read, and controllers with MIDI learn.

#include "engine/Plugin.h"

namespace kirra {

namespace {
constexpr uint8_t kStatusBit = 0x80;
constexpr uint8_t kControlChange = 0xB0;
constexpr int kDataMask = 0x7F;
}  // namespace

void Plugin::handleMidiMessage(uint8_t status, uint8_t data1, uint8_t data2) {
    // An event carries a whole message; without a status byte there is nothing to interpret.
    if ((status & kStatusBit) == 0) return;
    if ((status & 0xF0) != kControlChange) {
        midi_.handleMessage(status, data1, data2);
        return;
    }
    const int controller = data1 & kDataMask;
    const int value = data2 & kDataMask;
    midiLearn_.controllerReceived(controller);
    if (EditorNotifications* notifications = notifications_.load(std::memory_order_acquire))
        notifications->learnStateChanged(MidiLearn::kIdle, controller);
    midi_.setController(controller, value);
    // Learned controls move like a user's hand: the host records it as automation.
    const float normalised = static_cast<float>(value) / 127.0f;
    for (int control = 0; control < MidiLearn::kControls; ++control) {
        if (midiLearn_.getLearnedController(control) == controller) {
            setParameterAutomated(MidiLearn::controlParameter(control), normalised);
        }
    }
}

}  // namespace kirra
