// kirra_presetc PRESETS_DIR OUTPUT.cpp: compiles the program files of the three factory banks
// into the plug-in's tables, or lists what is wrong with them and fails.

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "presetc/PresetCompiler.h"
#include "presetc/SourceGenerator.h"

namespace {

// The scratch instance must neither read nor write the user's own settings.
class IsolatedConfiguration {
  public:
    IsolatedConfiguration() {
        char pattern[] = "/tmp/kirra_presetc_XXXXXX";
        if (mkdtemp(pattern) != nullptr) {
            folder_ = pattern;
            setenv("XDG_CONFIG_HOME", pattern, 1);
        }
    }
    ~IsolatedConfiguration() {
        std::error_code ignored;
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
    }

  private:
    std::string folder_;
};

// Rewrites the output only when it changes, so an unchanged bank does not rebuild the plug-in.
bool writeIfChanged(const std::string& path, const std::string& contents) {
    std::ifstream existing(path, std::ios::binary);
    std::ostringstream old;
    old << existing.rdbuf();
    if (existing && old.str() == contents) return true;
    std::filesystem::path target(path);
    std::error_code ignored;
    if (target.has_parent_path())
        std::filesystem::create_directories(target.parent_path(), ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: kirra_presetc PRESETS_DIR OUTPUT.cpp\n");
        return 2;
    }
    IsolatedConfiguration isolated;
    presets::Banks banks;
    std::vector<presets::Diagnostic> diagnostics;
    bool ok;
    {
        presets::PresetCompiler compiler;
        ok = compiler.compileBanks(argv[1], banks, diagnostics);
    }
    for (const auto& diagnostic : diagnostics) {
        std::fprintf(stderr, "%s:%d: %s\n", diagnostic.file.c_str(), diagnostic.line,
                     diagnostic.message.c_str());
    }
    if (!ok) return 1;
    if (!writeIfChanged(argv[2], presets::generateSource(banks))) {
        std::fprintf(stderr, "kirra_presetc: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
