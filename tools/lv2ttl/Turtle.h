#pragma once
// The few Turtle literals the bundle's description needs.

#include <cstddef>
#include <cstdint>
#include <string>

namespace lv2ttl {

// A string literal with its quotes, escaped.
std::string quoted(const std::string& text);
// A number that reads back as exactly this float: nine significant digits, always a decimal or
// a double (never an integer literal, which hosts would hand over as an integer).
std::string number(float value);
// Binary data as an xsd:base64Binary literal, which hosts read as an atom:Chunk.
std::string base64Literal(const uint8_t* data, size_t size);

}  // namespace lv2ttl
