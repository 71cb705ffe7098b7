#pragma once
// How the program files compare words: case and surrounding blanks do not matter, since the
// same name is typed by hand in a file and shown in capitals or mixed case by the plug-in.

#include <cctype>
#include <string>

namespace presets {

inline std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

inline std::string trim(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

inline bool sameText(const std::string& a, const std::string& b) {
    return lower(trim(a)) == lower(trim(b));
}

}  // namespace presets
