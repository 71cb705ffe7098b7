// The MIDI file reader on well-formed and damaged files, and the per-block schedule the renderer
// hands to a plug-in.

#include "kirra/MidiFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "kirra/MidiSchedule.h"

using host::MidiFile;

namespace {

using Bytes = std::vector<uint8_t>;

void append(Bytes& to, const Bytes& bytes) {
    to.insert(to.end(), bytes.begin(), bytes.end());
}

Bytes bigEndian(uint32_t value, int bytes) {
    Bytes out;
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
    return out;
}

Bytes header(int format, int tracks, int division) {
    Bytes out = {'M', 'T', 'h', 'd', 0, 0, 0, 6};
    append(out, bigEndian(format, 2));
    append(out, bigEndian(tracks, 2));
    append(out, bigEndian(division, 2));
    return out;
}

// A track chunk around its events; the length may lie.
Bytes track(const Bytes& events, int64_t declaredLength = -1) {
    Bytes out = {'M', 'T', 'r', 'k'};
    append(out, bigEndian(declaredLength < 0 ? events.size() : declaredLength, 4));
    append(out, events);
    return out;
}

const Bytes kEndOfTrack = {0x00, 0xFF, 0x2F, 0x00};

MidiFile parse(const Bytes& data, bool expectFile = true) {
    MidiFile file;
    std::string error;
    EXPECT_EQ(host::parseMidiFile(data.data(), data.size(), file, error), expectFile) << error;
    return file;
}

}  // namespace

TEST(MidiFile, RunningStatusAndTimesInOneTrack) {
    Bytes events = {0x00, 0x90, 60,   100,  // note on
                    0x30, 64,   80,         // 48 ticks later, running status
                    0x30, 60,   0,          // note on, velocity 0
                    0x00, 0xC0, 5,          // program change: one data byte
                    0x81, 0x00, 0xD0, 33};  // 128 ticks later, channel pressure
    append(events, kEndOfTrack);
    Bytes data = header(0, 1, 96);
    append(data, track(events));
    MidiFile file = parse(data);
    ASSERT_EQ(file.events.size(), 5u);
    EXPECT_TRUE(file.problems.empty());
    EXPECT_EQ(file.events[1].tick, 48u);
    EXPECT_EQ(file.events[1].bytes[0], 0x90);
    EXPECT_EQ(file.events[1].bytes[1], 64);
    EXPECT_EQ(file.events[2].bytes[2], 0);
    EXPECT_EQ(file.events[3].bytes[1], 5);
    EXPECT_EQ(file.events[4].tick, 96u + 128u);
    EXPECT_DOUBLE_EQ(file.secondsAt(96, 120.0), 0.5);
    EXPECT_EQ(file.tempoBpm, 0.0);
}

TEST(MidiFile, TracksMergeInTimeOrderAndTheFirstTempoIsKept) {
    Bytes conductor = {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,   // 500000 us: 120 BPM
                       0x10, 0xB0, 7,    100,                      // tick 16
                       0x10, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40};  // a later tempo, not used
    append(conductor, kEndOfTrack);
    Bytes notes = {0x10, 0x90, 40, 90, 0x08, 0x80, 40, 0};  // ticks 16 and 24
    append(notes, kEndOfTrack);
    Bytes data = header(1, 2, 480);
    append(data, track(conductor));
    append(data, track(notes));
    MidiFile file = parse(data);
    ASSERT_EQ(file.events.size(), 3u);
    EXPECT_EQ(file.trackCount, 2);
    EXPECT_DOUBLE_EQ(file.tempoBpm, 120.0);
    EXPECT_EQ(file.events[0].bytes[0], 0xB0);  // same tick: the first track first
    EXPECT_EQ(file.events[1].bytes[0], 0x90);
    EXPECT_EQ(file.events[2].tick, 24u);
}

TEST(MidiFile, TimeCodeDivisionCountsTicksPerSecond) {
    Bytes data = header(0, 1, 0xE728);  // 25 frames per second, 40 ticks per frame
    append(data, track(kEndOfTrack));
    MidiFile file = parse(data);
    EXPECT_DOUBLE_EQ(file.ticksPerSecond, 1000.0);
    EXPECT_DOUBLE_EQ(file.secondsAt(500, 60.0), 0.5);
}

TEST(MidiFile, WhatIsNotAMidiFileIsRefused) {
    parse({}, false);
    parse({'R', 'I', 'F', 'F', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96}, false);
    Bytes longHeader = {'M', 'T', 'h', 'd', 0xFF, 0xFF, 0xFF, 0xF0, 0, 0, 0, 1, 0, 96};
    parse(longHeader, false);
    parse(header(0, 1, 0), false);  // no time division
}

TEST(MidiFile, DamagedTracksKeepWhatCameBeforeTheDamage) {
    struct Case {
        const char* what;
        Bytes events;
        size_t kept;
    };
    const Case cases[] = {
        {"data without a status", {0x00, 60, 100, 0x00, 0x90, 60, 100}, 0},
        {"sysex cancels running status",
         {0x00, 0x90, 60, 100, 0x00, 0xF0, 0x02, 0x7E, 0xF7, 0x00, 61, 100},
         1},
        {"five-byte length", {0x00, 0x90, 60, 1, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 61, 1}, 1},
        {"meta longer than the track", {0x00, 0xB0, 1, 2, 0x00, 0xFF, 0x01, 0x8F, 0xFF, 0x7F}, 1},
        {"message cut short", {0x00, 0xB0, 1, 2, 0x00, 0xE0, 5}, 1},
        {"data byte with its top bit", {0x00, 0x90, 60, 0x90, 0x00}, 0},
        {"system message", {0x00, 0xF8, 0x00, 0x90, 60, 1}, 0},
        {"no end of track", {0x00, 0x90, 60, 1}, 1},
    };
    for (const Case& c : cases) {
        Bytes data = header(0, 1, 96);
        append(data, track(c.events));
        MidiFile file = parse(data);
        EXPECT_EQ(file.events.size(), c.kept) << c.what;
        EXPECT_FALSE(file.problems.empty()) << c.what;
    }
    // A track chunk longer than the file: the part that is there is read.
    Bytes data = header(1, 3, 96);
    Bytes events = {0x00, 0x90, 60, 1, 0x00, 0x80, 60, 0};
    append(data, track(events, 1000));
    MidiFile file = parse(data);
    EXPECT_EQ(file.events.size(), 2u);
    EXPECT_GE(file.problems.size(), 2u);  // cut off, and fewer tracks than announced
}

TEST(MidiFile, RandomDamageNeverReadsOutside) {
    Bytes events;
    for (int i = 0; i < 40; ++i)
        append(events, {0x05, static_cast<uint8_t>(0x90 + i % 16), static_cast<uint8_t>(i), 64});
    append(events, kEndOfTrack);
    Bytes valid = header(1, 1, 96);
    append(valid, track(events));
    std::mt19937 random(5);
    for (int round = 0; round < 3000; ++round) {
        Bytes damaged = valid;
        int changes = 1 + static_cast<int>(random() % 8);
        for (int change = 0; change < changes; ++change)
            damaged[random() % damaged.size()] = static_cast<uint8_t>(random());
        damaged.resize(random() % (damaged.size() + 1));
        MidiFile file;
        std::string error;
        host::parseMidiFile(damaged.data(), damaged.size(), file, error);
        for (const auto& message : file.events)
            ASSERT_NE(message.bytes[0] & 0x80, 0);
    }
}

TEST(MidiSchedule, EachBlockGetsItsEventsAtTheirOffsets) {
    host::MidiSchedule schedule;
    const uint8_t on[3] = {0x90, 60, 100};
    const uint8_t off[3] = {0x80, 60, 0};
    schedule.add(600, off);
    schedule.add(5, on);
    schedule.add(600, on);  // same frame: kept after the one added before it
    schedule.add(-1, on);
    schedule.add(1024, on);
    schedule.prepare(512, 1024);
    EXPECT_EQ(schedule.scheduledCount(), 3u);
    EXPECT_EQ(schedule.droppedCount(), 2u);
    vst::VstEvents* first = schedule.eventsForBlock(0);
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(first->numEvents, 1);
    EXPECT_EQ(first->events[0]->deltaFrames, 5);
    vst::VstEvents* second = schedule.eventsForBlock(1);
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(second->numEvents, 2);
    vst::VstEvent* const* pointers = second->events;
    auto* later = reinterpret_cast<vst::VstMidiEvent*>(pointers[1]);
    EXPECT_EQ(later->deltaFrames, 600 - 512);
    EXPECT_EQ(static_cast<uint8_t>(later->midiData[0]), 0x90);
    EXPECT_EQ(later->type, vst::kMidiEventType);
    EXPECT_EQ(schedule.eventsForBlock(2), nullptr);
}
