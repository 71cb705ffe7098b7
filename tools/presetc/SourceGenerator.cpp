#include "presetc/SourceGenerator.h"

#include <cstdio>
#include <cstring>
#include <sstream>

namespace presets {

std::string generateSource(const Banks& banks) {
    std::ostringstream out;
    out << "// Generated from presets/ by kirra_presetc: edit the program files, not this one.\n\n"
        << "#include \"engine/FactoryBanks.h\"\n\nnamespace kirra {\n\n"
        << "extern const FactoryBank kFactoryBanks[kFactoryBankCount];\n"
        << "const FactoryBank kFactoryBanks[kFactoryBankCount] = {\n";
    char number[32];
    for (const auto& bank : banks) {
        out << "    {\n        {\n";
        for (const auto& program : bank) {
            out << "            \"";
            for (char c : program.name) {
                if (c == '"' || c == '\\') out << '\\';
                out << c;
            }
            out << "\",\n";
        }
        out << "        },\n        {\n";
        for (const auto& program : bank) {
            out << "            {";
            for (size_t i = 0; i < program.values.size(); ++i) {
                // Nine significant digits tell every float apart.
                std::snprintf(number, sizeof(number), "%.9g", program.values[i]);
                // A literal needs a point or an exponent before its float suffix.
                if (std::strpbrk(number, ".e") == nullptr) std::strcat(number, ".0");
                std::strcat(number, "f");
                out << (i == 0 ? "" : ",") << (i % 8 == 0 ? "\n                " : " ") << number;
            }
            out << "},\n";
        }
        out << "        },\n    },\n";
    }
    out << "};\n\n}  // namespace kirra\n";
    return out.str();
}

}  // namespace presets
