#pragma once
// What the MIDI input has told the engine so far: held notes, the last note and its velocity,
// pressures, pitch bend and the controller values. These are modulation sources, read in place
// by the modulation slots.

#include <cstdint>

namespace kirra {

struct MidiState {
    static constexpr int kNotes = 128;
    // Controllers 0..127 and one extra entry ("not assigned") that is never written.
    static constexpr int kControllers = 129;
    static constexpr int kDefaultNote = 45;

    bool noteHeld[kNotes] = {};
    int heldCount = 0;
    int lastNote = kDefaultNote;
    float gate = 0.0f;
    float noteNumber = kDefaultNote / 127.0f;
    float noteFrequency = (kDefaultNote - 9) / 96.0f;
    float velocity = 0.0f;
    float pitchBend = 0.0f;  // -1 .. just under +1
    float keyPressure = 0.0f;
    float channelPressure = 0.0f;
    float controllers[kControllers] = {};

    void reset() { *this = MidiState{}; }

    // A channel message other than a control change (which also drives MIDI learn and is the
    // engine's). Data bytes above 127 are read as their low seven bits, so no note number can
    // index past the tables; every channel is handled alike.
    void handleMessage(uint8_t status, uint8_t data1, uint8_t data2);
    void setController(int controller, int value);

  private:
    void noteOn(int note, int noteVelocity);
    void noteOff(int note);
};

}  // namespace kirra
