// The bundle with the LV2 tools every Linux distribution ships: listed, described without a
// warning, and rendering through lv2apply exactly what `kirra render` renders through the VST
// plug-in with the same settings.

#include <gtest/gtest.h>

#include "kirra/AudioBuffer.h"
#include "lv2/LilvHost.h"
#include "support/ConfigHome.h"
#include "support/HostCommand.h"
#include "support/Signals.h"

using namespace testing_support;

namespace {

// Standard output, or standard errors alone.
std::string runTool(const std::string& command, bool errors = false) {
    return runShell("LV2_PATH=" + shellQuoted(LilvHost::searchPath()) + " " + command +
                    (errors ? " 2>&1 >/dev/null" : " 2>/dev/null"))
        .output;
}

void writeChannels(const std::string& path, const std::vector<std::vector<float>>& channels) {
    host::AudioBuffer buffer;
    buffer.channels = channels;
    std::string error;
    ASSERT_TRUE(host::writeAudioFile(path, buffer, error)) << error;
}

}  // namespace

TEST(Lv2Tools, ListedDescribedAndRenderingAsTheVstPlugin) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the tools cannot load a plug-in built with the sanitizers";
#endif
    EXPECT_NE(runTool("lv2ls").find("urn:vantor:kirra"), std::string::npos);
    EXPECT_EQ(runTool("lv2info urn:vantor:kirra", true), "");
    EXPECT_NE(runTool("lv2info urn:vantor:kirra").find("Kirra"), std::string::npos);

    TemporaryFolder folder;
    const std::vector<float> left = noise(30000, 11, 0.6f);
    const std::vector<float> right = sine(330.0, 44100.0, 30000, 0.5);
    const std::vector<float> sideLeft = sine(3.0, 44100.0, 30000, 0.4);
    const std::vector<float> sideRight = noise(30000, 12, 0.3f);
    writeChannels(folder.file("in4.wav"), {left, right, sideLeft, sideRight});
    writeChannels(folder.file("main.wav"), {left, right});
    writeChannels(folder.file("side.wav"), {sideLeft, sideRight});
    // lv2apply gives no transport, as a stopped one does; a biquad in slot 2 and the sidechain
    // mixer in slot 3, which hears the sidechain ports.
    runTool("lv2apply -i " + folder.file("in4.wav") + " -o " + folder.file("lv2.wav") +
            " -c mix 0.7 -c op2_type 0.0234375 -c op3_type 0.2578125 -c input 0.6" +
            " urn:vantor:kirra");
    CommandResult vst = runKirraCommand(
        "render " + folder.file("main.wav") + " " + folder.file("vst.wav") + " --sidechain " +
        folder.file("side.wav") + " --stopped --quiet --set Mix=0.7 --set 'OP2 type=0.0234375'" +
        " --set 'OP3 type=0.2578125' --set Input=0.6");
    ASSERT_EQ(vst.status, 0) << vst.output;
    host::AudioBuffer fromLv2;
    host::AudioBuffer fromVst;
    std::string error;
    ASSERT_TRUE(host::readAudioFile(folder.file("lv2.wav"), fromLv2, error)) << error;
    ASSERT_TRUE(host::readAudioFile(folder.file("vst.wav"), fromVst, error)) << error;
    EXPECT_EQ(fromLv2.channels, fromVst.channels);
    EXPECT_GT(peak(fromLv2.channels.at(0)), 0.1);
}
