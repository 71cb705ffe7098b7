// kirra_lv2ttl BUNDLE_DIR [--ui]: writes the Turtle files of the LV2 bundle (manifest.ttl,
// kirra.ttl, presets.ttl) into the folder; --ui when the binary carries the editor.

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "lv2/Identifiers.h"
#include "lv2ttl/BundleDescription.h"

namespace {

// Rewrites a file only when it changes, so that hosts' caches and the install see no change.
bool writeIfChanged(const std::filesystem::path& path, const std::string& contents) {
    std::ifstream existing(path, std::ios::binary);
    std::ostringstream old;
    old << existing.rdbuf();
    if (existing && old.str() == contents) return true;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3 || (argc == 3 && std::strcmp(argv[2], "--ui") != 0)) {
        std::fprintf(stderr, "usage: kirra_lv2ttl BUNDLE_DIR [--ui]\n");
        return 2;
    }
    const std::filesystem::path bundle = argv[1];
    std::error_code error;
    std::filesystem::create_directories(bundle, error);
    const lv2ttl::BundleFiles files = lv2ttl::describeBundle(argc == 3);
    if (!writeIfChanged(bundle / "manifest.ttl", files.manifest) ||
        !writeIfChanged(bundle / kirra::lv2::kPluginFile, files.plugin) ||
        !writeIfChanged(bundle / kirra::lv2::kPresetsFile, files.presets)) {
        std::fprintf(stderr, "kirra_lv2ttl: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
