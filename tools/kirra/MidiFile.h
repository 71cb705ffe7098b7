#pragma once
// A standard MIDI file (formats 0, 1 and 2) read into one list of channel messages in time order.
// Damaged files are read as far as they make sense: what had to be skipped is listed, nothing
// outside the data is ever read.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace host {

struct MidiFileEvent {
    uint64_t tick = 0;
    uint8_t bytes[3] = {};  // status and its data bytes (zero where the message has fewer)
};

struct MidiFile {
    int format = 0;
    int trackCount = 0;                 // tracks found
    int ticksPerQuarter = 0;            // metrical time; 0 for time code
    double ticksPerSecond = 0.0;        // time code (frames per second times ticks per frame)
    double tempoBpm = 0.0;              // the first tempo event; 0 when the file names none
    std::vector<MidiFileEvent> events;  // by tick; at one tick, by track and then file order
    std::vector<std::string> problems;  // what was skipped or cut short

    // Seconds from the file's start to a tick: metrical files at a fixed tempo (their tempo map
    // is not followed, so that notes stay on the host's beat grid), time code files as written.
    double secondsAt(uint64_t tick, double bpm) const;
};

// False (with the reason) only when the data is not a MIDI file at all.
bool parseMidiFile(const uint8_t* data, size_t size, MidiFile& file, std::string& error);
bool readMidiFile(const std::string& path, MidiFile& file, std::string& error);

}  // namespace host
