#include "lv2ttl/Turtle.h"

#include <cstdio>

namespace lv2ttl {

std::string quoted(const std::string& text) {
    std::string result = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            result += '\\';
            result += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            result += ' ';  // names hold no control characters worth keeping
        } else {
            result += c;
        }
    }
    return result + "\"";
}

std::string number(float value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.9g", static_cast<double>(value));
    std::string result = text;
    if (result.find_first_of(".e") == std::string::npos) result += ".0";
    return result;
}

std::string base64Literal(const uint8_t* data, size_t size) {
    static const char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string result = "\"";
    for (size_t i = 0; i < size; i += 3) {
        const uint32_t group = static_cast<uint32_t>(data[i]) << 16 |
                               (i + 1 < size ? static_cast<uint32_t>(data[i + 1]) << 8 : 0) |
                               (i + 2 < size ? static_cast<uint32_t>(data[i + 2]) : 0);
        result += kDigits[(group >> 18) & 63];
        result += kDigits[(group >> 12) & 63];
        result += i + 1 < size ? kDigits[(group >> 6) & 63] : '=';
        result += i + 2 < size ? kDigits[group & 63] : '=';
    }
    return result + "\"^^xsd:base64Binary";
}

}  // namespace lv2ttl
