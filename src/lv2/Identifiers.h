#pragma once
// The names under which hosts know the LV2 plug-in. They live in the domain-free `urn:vantor:`
// scheme of our own (vendor, then product), so they never depend on a web address; hosts store
// them in sessions, so they never change.

namespace kirra::lv2 {

constexpr const char* kPluginUri = "urn:vantor:kirra";
constexpr const char* kUiUri = "urn:vantor:kirra#ui";
// State properties: the whole state as the VST chunk holds it, and one program as a preset file
// holds it (what a factory preset restores).
constexpr const char* kStateChunkUri = "urn:vantor:kirra#state";
constexpr const char* kProgramUri = "urn:vantor:kirra#program";
// Factory presets are this prefix followed by the program's bank letter and number ("A01").
constexpr const char* kPresetUriPrefix = "urn:vantor:kirra:preset:";

// File names inside the bundle.
constexpr const char* kBinaryFile = "kirra.so";
constexpr const char* kPluginFile = "kirra.ttl";
constexpr const char* kPresetsFile = "presets.ttl";

}  // namespace kirra::lv2
