#pragma once
// Whole-file reading and writing for presets, banks and the per-user store. A write never leaves
// a half-written file in place of the old one: it goes to a temporary file beside the target,
// is flushed to the disk and then renamed over the target in one step.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Reads up to maxBytes from the start of a regular file. False when it cannot be opened, is not
// a regular file (a device or pipe could block or never end) or a read fails.
bool readFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& data);

// Replaces the file's content atomically; false (with the previous file untouched) on any
// failure, a full disk included. New files get the usual permissions (0666 less the umask).
bool writeFileAtomically(const std::string& path, const void* data, size_t size);

// Creates a folder and any missing parents (new ones private to the user); true when it exists.
bool makeDirectories(const std::string& path);

// Removes a file; true when it is gone afterwards.
bool removeFile(const std::string& path);

}  // namespace platform
