#pragma once
// The thirty note values of tempo-locked times: straight, dotted and triplet, in whole notes.

namespace kirra {

constexpr int kNoteValueCount = 30;

// Length in whole notes (a whole note is four beats) of note value index 0..29.
float noteValueLength(int index);
// Display name ("1/4", "3/16", "1/12"...).
const char* noteValueName(int index);
// Seconds a note value lasts at a tempo: 240 * length / bpm.
float noteValueSeconds(int index, float bpm);
// The index whose name matches a typed text, or -1.
int noteValueFromText(const char* text);

}  // namespace kirra
