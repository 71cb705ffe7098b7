#include "support/ReferenceFile.h"

#include <cstdlib>
#include <fstream>

namespace testing_support {

namespace {

std::string pathOf(const std::string& name) {
    return std::string(KIRRA_SOURCE_DIR) + "/tests/reference/" + name;
}

}  // namespace

bool updatingReferences() {
    const char* update = std::getenv("KIRRA_UPDATE_REFERENCE");
    return update != nullptr && std::string(update) == "1";
}

ReferenceValues readReference(const std::string& name) {
    ReferenceValues stored;
    std::ifstream file(pathOf(name));
    for (std::string line; std::getline(file, line);) {
        const size_t equals = line.rfind(" = ");
        if (line.empty() || line[0] == '#' || equals == std::string::npos) continue;
        stored[line.substr(0, equals)] = line.substr(equals + 3);
    }
    return stored;
}

bool writeReference(const std::string& name, const std::string& writer,
                    const ReferenceValues& values) {
    std::ofstream file(pathOf(name));
    file << "# Written by " << writer << " with KIRRA_UPDATE_REFERENCE=1; review changes.\n";
    for (const auto& [key, value] : values)
        file << key << " = " << value << "\n";
    return file.good();
}

}  // namespace testing_support
