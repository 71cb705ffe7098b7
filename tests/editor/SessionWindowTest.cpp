// A musician's session in a real window: bypass by right click, undo and redo of the editor's
// edits, A/B compare and named user presets, each heard through the plug-in's audio and seen
// in what the window shows.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "editor/EditorWindowFixture.h"
#include "engine/ParameterIndex.h"
#include "support/ConfigHome.h"
#include "support/Signals.h"

namespace {

using namespace window_testing;
using testing_support::rms;

constexpr int kBlock = 512;
using kirra::param::kOperatorType1;
using kirra::param::kProgramParameterCount;

class SessionWindow : public EditorWindow {
  protected:
    void SetUp() override {
        EditorWindow::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        plugin_ = testing_support::loadKirra();
        ASSERT_NE(openEditor(*plugin_), 0u);
    }

    std::vector<float> programValues() {
        std::vector<float> values(kProgramParameterCount);
        for (int index = 0; index < kProgramParameterCount; ++index)
            values[index] = plugin_->getParameter(index);
        return values;
    }

    // A steady sine from a cleared state, the last block of the left output.
    std::vector<float> render() {
        plugin_->suspend();
        plugin_->resume();
        testing_support::ChannelArrays buffers(kBlock);
        for (int block = 0; block < 8; ++block) {
            buffers.sineOnMain(block * kBlock);
            plugin_->process(buffers.inputs, buffers.outputs, kBlock);
        }
        return buffers.out[0];
    }

    // The user's preset folder, fresh for each test and known before the plug-in loads.
    testing_support::TemporaryFolder data_;
    testing_support::ScopedEnvironment dataHome_{"XDG_DATA_HOME", data_.path()};
    const std::string presets_ = data_.path() + "/Vantor/VantorKirra/Presets";
    std::unique_ptr<host::PluginHost> plugin_;
};

TEST_F(SessionWindow, RightClickBypassesAnOperatorHeardAndSeen) {
    // Operator 1's gain at full attenuation silences the chain.
    plugin_->setParameter(kirra::param::operatorParameter(0, 0), 0.0f);
    EXPECT_LT(rms(render()), 1e-4);
    pointerAway();
    kirra::gui::Image processing = offscreenRendering(*plugin_, "session-processing.png");
    ASSERT_TRUE(processing.isValid());

    // The bypass is internal to the plug-in: the host hears it.
    const double inputRms = 0.5 / std::sqrt(2.0);
    click(563, 19, 3);  // OP1
    EXPECT_TRUE(waitFor([&] { return std::fabs(rms(render()) - inputRms) < 0.01; }));
    pointerAway();
    EXPECT_TRUE(waitFor([&] { return pixelsDifferingFrom(editor_, processing) > 20; }));

    // The panel header's switch brings it back.
    click(760, 48);
    EXPECT_TRUE(waitFor([&] { return rms(render()) < 1e-4; }));
}

TEST_F(SessionWindow, DragTypeAndRoutingChangesUndoAndRedoExactly) {
    click(509, 19);  // the routing page
    const std::vector<float> original = programValues();
    const std::vector<float> originalSound = render();

    drag(387, 258, 60);  // MIX
    click(748, 48);      // operator 1's next type
    drag(365, 88, 40);   // the IN to OP1 gain
    ASSERT_NE(plugin_->getParameter(kOperatorType1), original[kOperatorType1]);
    const std::vector<float> edited = programValues();
    const std::vector<float> editedSound = render();
    ASSERT_NE(edited[2], original[2]);
    ASSERT_NE(edited[253], original[253]);

    key("ctrl+z");
    key("ctrl+z");
    click(449, 313);  // the undo arrow
    EXPECT_TRUE(waitFor([&] { return programValues() == original; }));
    EXPECT_EQ(render(), originalSound);

    key("ctrl+shift+z");
    key("ctrl+y");
    click(471, 313);  // the redo arrow
    EXPECT_TRUE(waitFor([&] { return programValues() == edited; }));
    EXPECT_EQ(render(), editedSound);
}

TEST_F(SessionWindow, CompareSwitchesAndCopiesWholePrograms) {
    constexpr int kMix = 2;
    const auto mixIs = [&](float value) {
        return waitFor([&] { return std::fabs(plugin_->getParameter(kMix) - value) < 1e-6f; });
    };
    plugin_->setParameter(kMix, 0.25f);
    click(348, 313);  // to B, a copy of A so far
    ASSERT_TRUE(mixIs(0.25f));
    plugin_->setParameter(kMix, 0.75f);
    plugin_->setParameter(kOperatorType1, 2.5f / 64.0f);
    click(348, 313);  // back to A, with its own module
    EXPECT_TRUE(mixIs(0.25f));
    EXPECT_LT(plugin_->getParameter(kOperatorType1), 1.0f / 64.0f);
    click(348, 313);
    EXPECT_TRUE(mixIs(0.75f));
    EXPECT_GT(plugin_->getParameter(kOperatorType1), 2.0f / 64.0f);

    click(400, 313);  // B>A while B plays: A becomes B
    click(348, 313);
    EXPECT_TRUE(mixIs(0.75f));
    click(376, 313);  // A>B while A plays: nothing heard changes
    EXPECT_TRUE(mixIs(0.75f));
    // A switch is undone like an edit.
    key("ctrl+z");
    EXPECT_TRUE(mixIs(0.75f));
    plugin_->setParameter(kMix, 0.5f);
    click(348, 313);
    EXPECT_TRUE(mixIs(0.75f));
    key("ctrl+z");
    EXPECT_TRUE(mixIs(0.5f));
}

TEST_F(SessionWindow, UserPresetsSaveListLoadRenameAndDeleteWithTheirRefusals) {
    constexpr int kMix = 2;
    using testing_support::listFolder;
    using testing_support::readBytes;
    const auto sayNo = [&] { key("Escape"); };
    click(360, 19);  // the library page
    click(518, 61);  // "U": the user's presets
    pointerAway();
    const kirra::gui::Image page = offscreenRendering(*plugin_, "session-library.png");
    // SAVE AS with a name that cannot be saved: a message over the page, which OK closes.
    const auto expectRefused = [&](const char* name) {
        click(497, 74);
        typeLine(name);
        pointerAway();
        EXPECT_TRUE(waitFor([&] { return pixelsDifferingFrom(editor_, page) > 200; })) << name;
        key("Return");
    };

    plugin_->setParameter(kMix, 0.25f);
    click(497, 74);  // SAVE AS, into a folder that does not exist yet
    typeLine("Warm Pad");
    ASSERT_TRUE(waitFor([&] { return listFolder(presets_).size() == 1; }));
    EXPECT_EQ(readBytes(presets_ + "/Warm Pad.vtp").size(), 1701u);

    // (Which names are refused, and why, is the user-preset tests' business.)
    expectRefused("a/b");
    EXPECT_EQ(listFolder(presets_).size(), 1u);

    // A name that exists asks first.
    plugin_->setParameter(kMix, 0.5f);
    click(497, 74);
    typeLine("Warm Pad");
    sayNo();
    click(497, 74);
    typeLine("Warm Pad");
    key("Return");  // YES
    // A file that is not a preset is listed, never loaded.
    testing_support::writeBytes(presets_ + "/Broken.vtp", std::vector<uint8_t>(900, 7));
    click(518, 61);
    plugin_->setParameter(kMix, 0.75f);
    click(380, 58);  // "Broken (unreadable)", sorted first
    key("Return");
    EXPECT_FLOAT_EQ(plugin_->getParameter(kMix), 0.75f);
    click(380, 68);  // "Warm Pad"
    EXPECT_TRUE(waitFor([&] { return plugin_->getParameter(kMix) == 0.5f; }));

    click(497, 87);  // RENAME
    typeLine("Bright");
    EXPECT_TRUE(waitFor([&] { return readBytes(presets_ + "/Bright.vtp").size() == 1701u; }));
    EXPECT_TRUE(readBytes(presets_ + "/Warm Pad.vtp").empty());
    click(497, 100);  // DELETE, asked once
    sayNo();
    EXPECT_EQ(readBytes(presets_ + "/Bright.vtp").size(), 1701u);
    click(380, 58);
    click(497, 100);
    key("Return");
    EXPECT_TRUE(waitFor([&] { return listFolder(presets_).size() == 1; }));

    // A folder that cannot be written says so and keeps what it had.
    ASSERT_EQ(run("rm -rf '" + presets_ + "' && touch '" + presets_ + "'"), 0);
    expectRefused("Lost");
}

}  // namespace
