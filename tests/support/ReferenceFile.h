#pragma once
// Stored reference values under tests/reference/: "name = value" lines a reviewer reads in a
// diff. With KIRRA_UPDATE_REFERENCE=1 a test rewrites its file from what the code gives now
// instead of comparing (review the differences before committing them).

#include <map>
#include <string>

namespace testing_support {

using ReferenceValues = std::map<std::string, std::string>;

// True when the reference files are being rewritten.
bool updatingReferences();
// tests/reference/<name>; an empty map when it does not exist.
ReferenceValues readReference(const std::string& name);
// Rewrites tests/reference/<name>, with a first line saying which test wrote it.
bool writeReference(const std::string& name, const std::string& writer,
                    const ReferenceValues& values);
// Compares what was measured with what is stored, each entry with `same`; reports entries stored
// but no longer measured and the other way round. Rewrites the file instead when updating.
template <typename Same>
void expectMatchesReference(const std::string& name, const std::string& writer,
                            const ReferenceValues& measured, Same same);

}  // namespace testing_support

#include "support/ReferenceFile.inl"
