// The per-user store: where it lives, what it accepts, and that a failed write keeps the old
// value.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <cstdlib>
#include <vector>

#include "platform/Files.h"
#include "platform/UserStore.h"
#include "support/ConfigHome.h"

using namespace testing_support;

namespace {

// Makes every file write beyond a size fail, as a full disk does, for the scope.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        previousHandler_ = ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = previous_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        ::signal(SIGXFSZ, previousHandler_);
    }

  private:
    struct rlimit previous_ {};
    sighandler_t previousHandler_;
};

}  // namespace

TEST(UserStore, FolderFollowsTheEnvironment) {
    ScopedConfigHome home;
    EXPECT_EQ(platform::UserStore::defaultFolder(), home.storeFolder());
    ::setenv("XDG_CONFIG_HOME", "relative/path", 1);  // invalid, so ignored
    const char* homeFolder = std::getenv("HOME");
    if (homeFolder != nullptr && homeFolder[0] == '/') {
        EXPECT_EQ(platform::UserStore::defaultFolder(),
                  std::string(homeFolder) + "/.config/Vantor/VantorKirra");
    }
}

TEST(UserStore, ValuesRoundTripAndOddNamesAreRefused) {
    TemporaryFolder folder;
    platform::UserStore store(folder.file("a b/é"));
    std::vector<uint8_t> data;
    EXPECT_FALSE(store.readBinary("DefaultBank0", 100, data));
    const std::vector<uint8_t> bytes = {0, 1, 2, 255, 0};
    ASSERT_TRUE(store.writeBinary("DefaultBank0", bytes.data(), bytes.size()));
    ASSERT_TRUE(store.readBinary("DefaultBank0", 5, data));
    EXPECT_EQ(data, bytes);
    EXPECT_FALSE(store.readBinary("DefaultBank0", 4, data));  // larger than allowed
    EXPECT_TRUE(data.empty());

    ASSERT_TRUE(store.writeText("CurrDir", "/home/ü/My Presets"));
    std::string text;
    ASSERT_TRUE(store.readText("CurrDir", 1023, text));
    EXPECT_EQ(text, "/home/ü/My Presets");
    writeBytes(folder.file("a b/é/CurrBank"), {'a', 'b', 0, 'c'});
    ASSERT_TRUE(store.readText("CurrBank", 511, text));
    EXPECT_EQ(text, "ab");

    for (const char* name : {"../escape", "a/b", "", ".hidden"}) {
        EXPECT_FALSE(store.writeText(name, "x")) << name;
        EXPECT_FALSE(store.readText(name, 10, text)) << name;
    }
    EXPECT_FALSE(store.writeText(nullptr, "x"));
    EXPECT_TRUE(store.remove("CurrDir"));
    EXPECT_FALSE(store.readText("CurrDir", 1023, text));
    EXPECT_EQ(listFolder(folder.path()), std::vector<std::string>{"a b"});
    EXPECT_FALSE(platform::UserStore("").writeText("CurrDir", "x"));
}

TEST(UserStore, FailedWriteKeepsThePreviousValue) {
    TemporaryFolder folder;
    platform::UserStore store(folder.path());
    const std::vector<uint8_t> old(3000, 7);
    ASSERT_TRUE(store.writeBinary("DefaultBank1", old.data(), old.size()));
    const std::vector<uint8_t> bigger(108045, 9);
    {
        FileSizeLimit full(4096);
        EXPECT_FALSE(store.writeBinary("DefaultBank1", bigger.data(), bigger.size()));
    }
    std::vector<uint8_t> data;
    ASSERT_TRUE(store.readBinary("DefaultBank1", 200000, data));
    EXPECT_EQ(data, old);
    EXPECT_EQ(listFolder(folder.path()), std::vector<std::string>{"DefaultBank1"});

    // A target that cannot be replaced (a folder) is left alone, and so is its content.
    ASSERT_TRUE(platform::makeDirectories(folder.file("Clipboard/inner")));
    EXPECT_FALSE(store.writeBinary("Clipboard", old.data(), old.size()));
    EXPECT_EQ(listFolder(folder.file("Clipboard")), std::vector<std::string>{"inner"});
    EXPECT_FALSE(store.readBinary("Clipboard", 10, data));
}

TEST(Files, ReadingIsBoundedAndOnlyOfRegularFiles) {
    TemporaryFolder folder;
    writeBytes(folder.file("f"), std::vector<uint8_t>(100, 1));
    std::vector<uint8_t> data;
    ASSERT_TRUE(platform::readFile(folder.file("f"), 10, data));
    EXPECT_EQ(data.size(), 10u);
    EXPECT_FALSE(platform::readFile(folder.path(), 10, data));
    EXPECT_FALSE(platform::readFile("/dev/zero", 10, data));
    EXPECT_FALSE(platform::readFile(folder.file("missing"), 10, data));
    EXPECT_FALSE(platform::makeDirectories(folder.file("f/sub")));
}
