#pragma once
// Inputs for the fuzz targets. Random bytes alone almost never pass an image's size and header
// checks, so most inputs are shaped from a valid image: the first byte chooses the byte order,
// whether the fuzzer's bytes are written over part of the image and whether it is cut short.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kirra {
class Plugin;
}

namespace fuzzing {

// Valid images of the factory state, in little-endian or byte-reversed form.
std::vector<uint8_t> validPreset(bool reversed);
std::vector<uint8_t> validBank(bool reversed);
std::vector<uint8_t> validChunk(bool reversed);

// The bytes as they are (first byte even), or the valid image with the rest of the bytes
// written over it at an offset taken from bytes 1..3.
std::vector<uint8_t> shapeInput(const uint8_t* data, size_t size,
                                std::vector<uint8_t> (*valid)(bool reversed));

// Points the per-user store at a fresh temporary folder, so fuzzing never touches the user's
// configuration; answers the store's folder.
std::string useTemporaryConfigFolder();

// The one instance a fuzz target works on, created on first use (with its store in the
// temporary folder) and resumed at 44.1 kHz.
kirra::Plugin& fuzzedPlugin();

}  // namespace fuzzing
