#include "kirra/MidiFile.h"

#include <algorithm>
#include <fstream>

namespace host {

namespace {

constexpr size_t kChunkHeaderBytes = 8;
constexpr size_t kHeaderBytes = 6;
constexpr int kMaxLengthBytes = 4;  // a variable-length quantity holds at most 28 bits
constexpr uint8_t kMetaEvent = 0xFF;
constexpr uint8_t kMetaTempo = 0x51;
constexpr uint8_t kMetaEndOfTrack = 0x2F;
constexpr uint8_t kSysEx = 0xF0;
constexpr uint8_t kSysExContinuation = 0xF7;
// A file larger than this is not a MIDI file anybody wrote.
constexpr std::streamsize kMaxFileBytes = 256 << 20;

// Reads inside [position, end) and never beyond.
class ByteReader {
  public:
    ByteReader(const uint8_t* begin, const uint8_t* end) : position_(begin), end_(end) {}

    bool atEnd() const { return position_ >= end_; }
    size_t remaining() const { return static_cast<size_t>(end_ - position_); }
    bool byte(uint8_t& value) {
        if (atEnd()) return false;
        value = *position_++;
        return true;
    }
    bool bigEndian(int bytes, uint32_t& value) {
        if (remaining() < static_cast<size_t>(bytes)) return false;
        value = 0;
        for (int i = 0; i < bytes; ++i)
            value = (value << 8) | *position_++;
        return true;
    }
    bool variableLength(uint32_t& value) {
        value = 0;
        for (int i = 0; i < kMaxLengthBytes; ++i) {
            uint8_t next;
            if (!byte(next)) return false;
            value = (value << 7) | (next & 0x7F);
            if ((next & 0x80) == 0) return true;
        }
        return false;
    }
    bool skip(size_t bytes) {
        if (remaining() < bytes) return false;
        position_ += bytes;
        return true;
    }
    const uint8_t* position() const { return position_; }

  private:
    const uint8_t* position_;
    const uint8_t* end_;
};

struct OrderedEvent {
    MidiFileEvent event;
    int track;
};

int dataBytesOf(uint8_t status) {
    uint8_t kind = status & 0xF0;
    return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

// One track's events, until its end, its data or its sense runs out.
void readTrack(ByteReader reader, int track, MidiFile& file, std::vector<OrderedEvent>& events) {
    uint64_t tick = 0;
    uint8_t runningStatus = 0;
    const std::string name = "track " + std::to_string(track + 1) + ": ";
    while (!reader.atEnd()) {
        uint32_t delta;
        uint8_t first;
        if (!reader.variableLength(delta) || !reader.byte(first)) {
            file.problems.push_back(name + "cut off inside an event");
            return;
        }
        tick += delta;
        if (first == kMetaEvent) {
            uint8_t type;
            uint32_t length;
            if (!reader.byte(type) || !reader.variableLength(length) ||
                reader.remaining() < length) {
                file.problems.push_back(name + "meta event longer than the track");
                return;
            }
            const uint8_t* data = reader.position();
            if (type == kMetaTempo && length == 3 && file.tempoBpm == 0.0) {
                uint32_t microseconds = (data[0] << 16) | (data[1] << 8) | data[2];
                if (microseconds > 0) file.tempoBpm = 60e6 / microseconds;
            }
            reader.skip(length);
            runningStatus = 0;  // meta events cancel running status
            if (type == kMetaEndOfTrack) return;
            continue;
        }
        if (first == kSysEx || first == kSysExContinuation) {
            uint32_t length;
            if (!reader.variableLength(length) || !reader.skip(length)) {
                file.problems.push_back(name + "system exclusive longer than the track");
                return;
            }
            runningStatus = 0;
            continue;
        }
        if (first > kSysEx) {
            file.problems.push_back(name + "system message where a file allows none");
            return;
        }
        MidiFileEvent event;
        event.tick = tick;
        int dataIndex = 1;
        if (first & 0x80) {
            runningStatus = first;
        } else if (runningStatus == 0) {
            file.problems.push_back(name + "data byte without a status");
            return;
        } else {
            event.bytes[dataIndex++] = first;  // running status: this was the first data byte
        }
        event.bytes[0] = runningStatus;
        for (; dataIndex <= dataBytesOf(runningStatus); ++dataIndex) {
            uint8_t data;
            if (!reader.byte(data) || (data & 0x80) != 0) {
                file.problems.push_back(name + "message cut short");
                return;
            }
            event.bytes[dataIndex] = data;
        }
        events.push_back({event, track});
    }
    file.problems.push_back(name + "no end-of-track event");
}

}  // namespace

double MidiFile::secondsAt(uint64_t tick, double bpm) const {
    if (ticksPerQuarter > 0) return static_cast<double>(tick) / ticksPerQuarter * 60.0 / bpm;
    return ticksPerSecond > 0.0 ? static_cast<double>(tick) / ticksPerSecond : 0.0;
}

bool parseMidiFile(const uint8_t* data, size_t size, MidiFile& file, std::string& error) {
    file = MidiFile{};
    ByteReader reader(data, data + size);
    uint32_t id;
    uint32_t length;
    if (data == nullptr || !reader.bigEndian(4, id) || id != 0x4D546864 /* MThd */ ||
        !reader.bigEndian(4, length) || length < kHeaderBytes || reader.remaining() < length) {
        error = "not a standard MIDI file";
        return false;
    }
    ByteReader header(reader.position(), reader.position() + length);
    reader.skip(length);
    uint32_t format = 0;
    uint32_t declaredTracks = 0;
    uint32_t division = 0;
    header.bigEndian(2, format);
    header.bigEndian(2, declaredTracks);
    header.bigEndian(2, division);
    file.format = static_cast<int>(format);
    if (division & 0x8000) {
        // Time code: negative frames per second in the upper byte (29 meaning 29.97).
        int frames = -static_cast<int8_t>(division >> 8);
        double framesPerSecond = frames == 29 ? 29.97 : frames;
        file.ticksPerSecond = framesPerSecond * (division & 0xFF);
    } else {
        file.ticksPerQuarter = static_cast<int>(division);
    }
    if (file.ticksPerQuarter == 0 && !(file.ticksPerSecond > 0.0)) {
        error = "MIDI file with a time division of zero";
        return false;
    }

    std::vector<OrderedEvent> events;
    while (reader.remaining() >= kChunkHeaderBytes) {
        reader.bigEndian(4, id);
        reader.bigEndian(4, length);
        size_t available = std::min<size_t>(length, reader.remaining());
        if (available < length) file.problems.push_back("last chunk cut off");
        if (id == 0x4D54726B /* MTrk */) {
            readTrack(ByteReader(reader.position(), reader.position() + available),
                      file.trackCount++, file, events);
        }
        reader.skip(available);
    }
    if (file.trackCount < static_cast<int>(declaredTracks)) {
        file.problems.push_back("header announces " + std::to_string(declaredTracks) +
                                " tracks, found " + std::to_string(file.trackCount));
    }
    // Stable: at one tick, events keep their track order and their order inside the track.
    std::stable_sort(events.begin(), events.end(),
                     [](const OrderedEvent& a, const OrderedEvent& b) {
                         if (a.event.tick != b.event.tick) return a.event.tick < b.event.tick;
                         return a.track < b.track;
                     });
    file.events.reserve(events.size());
    for (const auto& ordered : events)
        file.events.push_back(ordered.event);
    return true;
}

bool readMidiFile(const std::string& path, MidiFile& file, std::string& error) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) {
        error = "cannot open " + path;
        return false;
    }
    std::vector<uint8_t> data;
    char chunk[65536];
    while (stream.read(chunk, sizeof(chunk)) || stream.gcount() > 0) {
        data.insert(data.end(), chunk, chunk + stream.gcount());
        if (static_cast<std::streamsize>(data.size()) > kMaxFileBytes) {
            error = path + " is too large for a MIDI file";
            return false;
        }
    }
    if (!parseMidiFile(data.data(), data.size(), file, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

}  // namespace host
