#pragma once
// Stored images (chunk, preset and bank files, per-user values) hold 32-bit words little-endian.
// Images written on a big-endian machine are read too: their words arrive byte-reversed.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace kirra {

inline uint32_t byteReversed(uint32_t word) {
    return (word >> 24) | ((word >> 8) & 0xff00u) | ((word << 8) & 0xff0000u) | (word << 24);
}

inline void storeWord(uint8_t* at, uint32_t word) {
    at[0] = static_cast<uint8_t>(word);
    at[1] = static_cast<uint8_t>(word >> 8);
    at[2] = static_cast<uint8_t>(word >> 16);
    at[3] = static_cast<uint8_t>(word >> 24);
}

inline void storeFloat(uint8_t* at, float value) {
    uint32_t word;
    std::memcpy(&word, &value, sizeof(word));
    storeWord(at, word);
}

inline uint32_t loadWord(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
           static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
}

// Reads the words of an image in the byte order it was found to be in.
class WordReader {
  public:
    WordReader(const uint8_t* data, bool reversed) : data_(data), reversed_(reversed) {}

    uint32_t word(size_t offset) const {
        uint32_t word = loadWord(data_ + offset);
        return reversed_ ? byteReversed(word) : word;
    }
    int32_t signedWord(size_t offset) const { return static_cast<int32_t>(word(offset)); }
    float value(size_t offset) const {
        uint32_t bits = word(offset);
        float value;
        std::memcpy(&value, &bits, sizeof(value));
        return value;
    }
    const uint8_t* bytes(size_t offset) const { return data_ + offset; }

  private:
    const uint8_t* data_;
    bool reversed_;
};

}  // namespace kirra
