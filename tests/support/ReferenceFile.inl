// The comparison of ReferenceFile.h, a template so that each test says what "the same" means.

#include <gtest/gtest.h>

namespace testing_support {

template <typename Same>
void expectMatchesReference(const std::string& name, const std::string& writer,
                            const ReferenceValues& measured, Same same) {
    if (updatingReferences()) {
        ASSERT_TRUE(writeReference(name, writer, measured)) << name;
        GTEST_SKIP() << "rewrote tests/reference/" << name;
    }
    const ReferenceValues stored = readReference(name);
    ASSERT_FALSE(stored.empty()) << "missing tests/reference/" << name;
    for (const auto& [key, value] : measured) {
        auto found = stored.find(key);
        if (found == stored.end()) {
            ADD_FAILURE() << "not stored: " << key << " = " << value;
        } else {
            EXPECT_TRUE(same(key, value, found->second))
                << key << ": now " << value << ", stored " << found->second;
        }
    }
    for (const auto& entry : stored)
        EXPECT_EQ(measured.count(entry.first), 1u) << "no longer measured: " << entry.first;
}

}  // namespace testing_support
