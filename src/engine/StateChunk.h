#pragma once
// The chunk through which the host saves and restores an instance's whole state: a 16-byte
// header (format version, identifier, current bank and preset), the three banks as bank images
// with zero headers, and the MIDI-learn controller numbers of the eleven learnable targets.

#include <cstddef>
#include <cstdint>

#include "engine/ProgramStore.h"

namespace kirra {

constexpr size_t kStateChunkBytes = 324211;
constexpr uint32_t kStateChunkVersion = 0x01000000;
// KNOB1..KNOB8, Input, Mix, Output.
constexpr int kLearnTargetCount = 11;

// What a chunk holds besides the banks. Bank and preset are as stored, possibly out of range.
struct ChunkSelection {
    int bank = 0;
    int preset = 0;
    int learnedControllers[kLearnTargetCount] = {};
};

// Writes the whole chunk (kStateChunkBytes) from the banks, their selection and the learned
// controller numbers (-1 for none).
void writeStateChunk(const ProgramStore& programs, const int* learnedControllers, uint8_t* chunk);

// Reads a chunk written on a machine of either byte order. False, with nothing changed, for a
// null or wrongly sized chunk, an unknown identifier or another version. Otherwise all three
// banks are replaced (their selection is left alone) and the selection is returned. Controller
// numbers outside 0..127 read as -1.
bool readStateChunk(const uint8_t* data, size_t size, ProgramStore& programs,
                    ChunkSelection& selection);

// Whether a chunk's stored selection names a program; a chunk that does not is still accepted
// into the banks but selects nothing.
bool selectsProgram(const ChunkSelection& selection);

}  // namespace kirra
