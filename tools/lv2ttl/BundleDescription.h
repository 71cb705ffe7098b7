#pragma once
// The Turtle files of the LV2 bundle, written from the engine's parameter description and the
// factory banks: the manifest, the plug-in with its ports and UI, and the factory presets.

#include <string>

namespace lv2ttl {

struct BundleFiles {
    std::string manifest;
    std::string plugin;
    std::string presets;
};

// withUi: the binary has the editor, so the description names the UI.
BundleFiles describeBundle(bool withUi);

}  // namespace lv2ttl
