// Each module's panel rendered offscreen and compared with its stored image: the section screen
// with the type picker, the controls and the plot, with settings that give the plots a shape.
// Nothing runs, so the running values (phases, levels, states) are at rest.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "editor/EditorFixture.h"
#include "editor/EditorLayout.h"
#include "editor/GoldenCompare.h"
#include "gui/DrawContext.h"
#include "gui/Image.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"

namespace {

using namespace kirra;

struct PanelCase {
    const char* name;
    bool isOperator;
    int type;
    std::vector<std::pair<int, float>> settings;  // position, value
};

// Test listings name a case instead of dumping its bytes.
void PrintTo(const PanelCase& panel, std::ostream* out) {
    *out << panel.name;
}

const PanelCase kPanels[] = {
    {"gain", true, kGain, {{0, 0.8f}}},
    {"biquad", true, kBiquad, {{0, 0.45f}, {1, 0.6f}, {3, 0.7f}, {5, 0.375f}, {6, 0.4f}}},
    {"svf", true, kSVF, {{0, 0.6f}, {1, 0.7f}, {2, 0.875f}, {6, 0.2f}}},
    {"moog", true, kMoog, {{0, 0.5f}, {1, 0.8f}}},
    {"comb", true, kComb, {{0, 0.25f}, {1, 0.8f}}},
    {"eq", true, kEQ, {{0, 0.3f}, {2, 0.5f}, {7, 0.8f}, {3, 0.8f}, {5, 0.8f}, {8, 0.3f}}},
    {"phaser", true, kPhaser, {{0, 0.4f}, {1, 0.5f}, {2, 1.0f}}},
    {"lofi", true, kLoFi, {{0, 0.5f}, {1, 0.6f}}},
    {"delay", true, kDelayLine, {{1, indexToValue(4, 30)}, {2, 0.85f}, {7, 0.3f}}},
    {"distortion", true, kDistortion, {{0, 0.4f}, {3, indexToValue(3, 16)}}},
    {"compexp", true, kCompExp, {{0, 0.6f}, {1, 0.75f}}},
    {"reverb", true, kReverb2, {{0, 0.7f}}},
    {"pitch", true, kPitch, {{0, indexToValue(19, 25)}, {2, 0.6f}}},
    {"stereo", true, kStereo, {{0, 0.3f}, {1, 0.8f}}},
    {"panner", true, kPanner, {{0, 0.25f}}},
    {"phaseinv", true, kPhaseInv, {{0, 0.75f}}},
    {"sidemix", true, kSideMix, {{0, 0.3f}}},
    {"rectifier", true, kRectifier, {{0, 0.75f}}},
    {"formant", true, kFormant, {{0, 0.5f}, {2, indexToValue(2, 5)}}},
    {"lfo", false, kLFO, {{1, 0.4f}, {3, 0.75f}, {4, 0.3f}, {5, indexToValue(2, 5)}}},
    {"env", false, kENV, {{0, 0.6f}, {5, indexToValue(6, 7)}}},
    {"adsr", false, kADSR, {{5, 0.8f}, {7, 0.5f}}},
    {"step",
     false,
     kSTEP,
     {{0, 0.2f},
      {1, 0.5f},
      {2, 0.9f},
      {3, 0.4f},
      {17, 0.7f},
      {20, 1.0f},
      {33, indexToValue(11, 16)}}},
};

// The section screen of a window-sized rendering, at the rendering's zoom.
gui::Image screenOf(const gui::Image& window, const gui::Rect& screen) {
    gui::Image part = gui::Image::atScale(screen.width(), screen.height(), window.scale());
    gui::DrawContext context(part);
    context.drawImage(window, screen.left, screen.top, {0, 0, screen.width(), screen.height()});
    return part;
}

class PanelGoldenImage : public editor_tests::PanelFixture,
                         public ::testing::WithParamInterface<std::tuple<PanelCase, int>> {};

TEST_P(PanelGoldenImage, PanelLooksAsStored) {
    const auto& [panel, percent] = GetParam();
    setZoom(percent);
    if (panel.isOperator) {
        setOperatorType(panel.type);
        for (const auto& [position, value] : panel.settings)
            setOperator(position, value);
    } else {
        setModulatorType(panel.type);
        for (const auto& [position, value] : panel.settings)
            setModulator(position, value);
    }
    tick();
    const gui::Rect& screen =
        panel.isOperator ? editor::layout::kOperatorScreen : editor::layout::kModulatorScreen;
    testing_support::expectLooksAsStored(
        screenOf(render(), screen),
        testing_support::zoomedName(std::string("panels/") + panel.name + ".png", percent));
}

INSTANTIATE_TEST_SUITE_P(Modules, PanelGoldenImage,
                         ::testing::Combine(::testing::ValuesIn(kPanels),
                                            ::testing::Values(100, 200)),
                         [](const auto& testInfo) {
                             return std::string(std::get<0>(testInfo.param).name) + "_" +
                                    std::to_string(std::get<1>(testInfo.param));
                         });

}  // namespace
