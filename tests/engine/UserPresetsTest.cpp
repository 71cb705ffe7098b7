// The user's named presets on disk: what is refused, what is listed, and that writers racing
// for one name leave one whole file.

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "engine/ProgramImages.h"
#include "engine/ProgramLibrary.h"
#include "engine/UserPresets.h"
#include "support/ConfigHome.h"
#include "support/InProcessHost.h"

using namespace testing_support;
using kirra::UserPresets;
using Result = UserPresets::Result;

namespace {

std::vector<uint8_t> presetImage(float mix) {
    InProcessHost host;
    host.plugin().setParameter(2, mix);
    std::vector<uint8_t> image(kirra::kPresetImageBytes);
    host.plugin().getLibrary().makePresetImage(image.data());
    return image;
}

}  // namespace

TEST(UserPresets, RefusesBadNamesAndListsDamagedFilesAsUnreadable) {
    TemporaryFolder home;
    UserPresets presets(home.file("new/Presets"));
    const std::vector<uint8_t> image = presetImage(0.3f);
    for (const char* bad : {"", "   ", "a/b", "tab\there", "..", "twenty-five characters..."})
        EXPECT_EQ(presets.save(bad, image.data(), image.size(), false), Result::kBadName) << bad;
    ASSERT_EQ(presets.save("pad", image.data(), image.size(), false), Result::kDone);
    EXPECT_EQ(presets.save("pad", image.data(), image.size(), false), Result::kExists);
    writeBytes(home.file("new/Presets/Bass.vtp"), {image.begin(), image.end() - 1});
    writeBytes(home.file("new/Presets/another.vtp"), image);

    const std::vector<UserPresets::Entry> listed = presets.list();
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(listed[0].name, "another");
    EXPECT_EQ(listed[1].name, "Bass");
    EXPECT_FALSE(listed[1].readable);
    EXPECT_TRUE(listed[2].readable);
    std::vector<uint8_t> read;
    EXPECT_EQ(presets.read("Bass", read), Result::kUnreadable);
    EXPECT_TRUE(read.empty());
}

TEST(UserPresets, TwoWritersOfOneNameLeaveOneWholeFile) {
    TemporaryFolder home;
    const std::vector<uint8_t> images[2] = {presetImage(0.1f), presetImage(0.9f)};
    auto writer = [&](int which) {
        UserPresets presets(home.path());
        for (int round = 0; round < 200; ++round)
            presets.save("same", images[which].data(), images[which].size(), true);
    };
    std::thread first(writer, 0);
    std::thread second(writer, 1);
    first.join();
    second.join();
    const std::vector<uint8_t> stored = readBytes(home.file("same.vtp"));
    EXPECT_TRUE(stored == images[0] || stored == images[1]);
    EXPECT_EQ(listFolder(home.path()).size(), 1u);  // no temporary left behind
}
