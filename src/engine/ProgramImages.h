#pragma once
// The stored forms of programs: the program record (24-byte name, 416 values), the preset image
// (one record behind a 13-byte header) and the bank image (64 records behind one). Preset and
// bank files, the clipboard and the default banks hold these images; the state chunk holds
// bank images with their header left zero.

#include <cstddef>
#include <cstdint>

#include "engine/ByteOrder.h"
#include "engine/ProgramStore.h"
#include "vst/VstApi.h"

namespace kirra {

constexpr uint32_t kImageMagic = 12345678;
// The plug-in's unique identifier "VnKr", as every image and the chunk store it.
constexpr uint32_t kStoredIdentifier = static_cast<uint32_t>(vst::fourCharCode('V', 'n', 'K', 'r'));
constexpr size_t kImageHeaderBytes = 13;
constexpr size_t kNameFieldBytes = 24;
constexpr size_t kRecordBytes = kNameFieldBytes + 4 * param::kProgramParameterCount;  // 1 688
constexpr size_t kPresetImageBytes = kImageHeaderBytes + kRecordBytes;                // 1 701
constexpr size_t kBankImageBytes = kImageHeaderBytes + ProgramStore::kPrograms * kRecordBytes;

// A record's name in a zeroed field (24 characters leave no terminator) and its values.
void writeRecord(const char* name, const float* values, uint8_t* record);
// Reads a record at an offset. Names end after at most 24 characters; values outside 0..1 are
// limited to it and NaN reads as 0, so nothing stored drives a module outside its range.
void readRecord(const WordReader& image, size_t offset, Program& program);

// Images of exactly kPresetImageBytes / kBankImageBytes.
void writePresetImage(const char* name, const float* values, uint8_t* image);
void writeBankImage(const Program* programs, uint8_t* image);

// False, with the output untouched, for data that is shorter than the image, has an unknown
// magic or identifier in either byte order, or is the other kind of image. Bytes past the
// image are not examined.
bool readPresetImage(const uint8_t* data, size_t size, Program& program);
bool readBankImage(const uint8_t* data, size_t size, Program* programs);

}  // namespace kirra
