#include "engine/MidiState.h"

namespace kirra {

namespace {
constexpr int kDataMask = 0x7F;
constexpr float kDataScale = 1.0f / 127.0f;
constexpr float kPitchBendCentre = 8192.0f;
}  // namespace

void MidiState::handleMessage(uint8_t status, uint8_t data1, uint8_t data2) {
    const int first = data1 & kDataMask;
    const int second = data2 & kDataMask;
    switch (status & 0xF0) {
        case 0x80:
            noteOff(first);
            break;
        case 0x90:
            if (second == 0) {
                noteOff(first);
            } else {
                noteOn(first, second);
            }
            break;
        case 0xA0:
            if (first == lastNote) keyPressure = second * kDataScale;
            break;
        case 0xB0:
            setController(first, second);
            break;
        case 0xD0:
            channelPressure = first * kDataScale;
            break;
        case 0xE0:
            pitchBend = static_cast<float>(second * 128 + first) / kPitchBendCentre - 1.0f;
            break;
        default:  // program change, system messages and stray data bytes
            break;
    }
}

void MidiState::setController(int controller, int value) {
    controllers[controller & kDataMask] = (value & kDataMask) * kDataScale;
}

void MidiState::noteOn(int note, int noteVelocity) {
    // A second note-on for a held note changes nothing.
    if (noteHeld[note]) return;
    noteHeld[note] = true;
    ++heldCount;
    lastNote = note;
    gate = 1.0f;
    noteNumber = note * kDataScale;
    noteFrequency = static_cast<float>(note - 9) / 96.0f;
    velocity = noteVelocity * kDataScale;
}

void MidiState::noteOff(int note) {
    if (!noteHeld[note]) return;
    noteHeld[note] = false;
    if (--heldCount > 0) return;
    // The last held note is gone; number and frequency keep the last note.
    heldCount = 0;
    gate = 0.0f;
    velocity = 0.0f;
    keyPressure = 0.0f;
    channelPressure = 0.0f;
}

}  // namespace kirra
