// The editor rendered offscreen in telling states at 100 and 200 % and compared with stored
// images: the library and preferences pages, both views of the signal-path page, the predefined
// routings, the slot window with its list and a menu, and each module's panel (the section
// screen with the type picker, the controls and the plot, with settings that give the plots a
// shape; nothing runs, so the running values are at rest).

#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "editor/EditorLayout.h"
#include "editor/GoldenCompare.h"
#include "editor/routing/CMatrixPage.h"
#include "editor/routing/PredefinedRoutings.h"
#include "editor/routing/RoutingFixture.h"
#include "editor/routing/SignalPathPage.h"
#include "engine/ModulationSlots.h"
#include "gui/DrawContext.h"
#include "gui/Image.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"
#include "support/SlotRouting.h"

namespace {

using namespace kirra;
using namespace kirra::editor;
using Slots = kirra::ModulationSlots;
using testing_support::routeSlot;

// The library and preferences pages on the start-up program, with fixed names whatever the
// banks hold; the routing pages below are on the neutral program in telling states.
struct PageGoldenImage : editor_tests::EditorFixture, ::testing::WithParamInterface<int> {};

TEST_P(PageGoldenImage, LibraryAndPreferencesPages) {
    for (int preset = 0; preset < 64; ++preset) {
        std::string name = "Program " + std::to_string(preset + 1);
        plugin().getPrograms().program(0, preset).setName(name.c_str());
    }
    for (int page : {1, 2}) {
        showPage(page);
        setZoom(GetParam());
        testing_support::expectLooksAsStored(
            render(),
            testing_support::zoomedName("page" + std::to_string(page) + ".png", GetParam()));
    }
}

INSTANTIATE_TEST_SUITE_P(Zooms, PageGoldenImage, ::testing::Values(100, 200));

struct RoutingGoldenImage : editor_tests::RoutingFixture, ::testing::WithParamInterface<int> {
    // At the zoom of the case, chosen before the page opens.
    void SetUp() override { setZoom(GetParam()); }
    void expectLooksAsStored(const std::string& name) {
        tick();
        testing_support::expectLooksAsStored(render(),
                                             testing_support::zoomedName(name, GetParam()));
    }
};

TEST_P(RoutingGoldenImage, Connections) {
    applyPredefinedRouting(plugin(), 8);
    plugin().setParameter(param::kOpToOp11 + 6, 0.5f);   // OP2 -> OP3 at -12 dB
    plugin().setParameter(param::kOpToOp11 + 15, 0.2f);  // OP4 feeding itself
    plugin().setParameter(param::kDryDelay, indexToValue(400, 32769));
    setState(param::kOperatorBypass1 + 1, 1, 2);
    showPage(0);
    expectLooksAsStored("routing-connections.png");
}

TEST_P(RoutingGoldenImage, Configuration) {
    setState(param::kOpLrMs, 0x01 | 0x10 | 0x04, 256);
    setState(param::kOpInv, 0x08, 16);
    showPage(0);
    click(frame().signalPathPage()->tabs()->getRect());
    expectLooksAsStored("routing-configuration.png");
}

TEST_P(RoutingGoldenImage, PredefinedRoutings) {
    showPage(0);
    click(frame().findControl(tags::kPredefinedRouting)->getRect());
    ASSERT_TRUE(frame().isModalOpen());
    expectLooksAsStored("routing-chooser.png");
}

TEST_P(RoutingGoldenImage, SlotList) {
    setState(param::kModulatorType1, 1, 64);     // LFO
    setState(param::kOperatorType1 + 1, 1, 64);  // BIQUAD
    routeSlot(plugin(), 0, Slots::kSourceModulator1, Slots::kDestinationOperator + 16, 0.8f);
    routeSlot(plugin(), 1, Slots::kSourceKnob1 + 2, Slots::kDestinationMain + 1, 0.25f);
    routeSlot(plugin(), 2, Slots::kSourceController0 + 1, Slots::kDestinationRouting + 4 + 1, 1.0f);
    routeSlot(plugin(), 3, Slots::kSourcePitchBend, Slots::kDestinationNone, 0.7f);
    routeSlot(plugin(), 4, Slots::kSourceVelocity, Slots::kDestinationSensitivity + 1, 0.5f);
    routeSlot(plugin(), 6, Slots::kSourceNoteNumber, Slots::kDestinationMain + 2, 0.0f);
    setState(param::kSlotStatus, 1 << 6, param::kSlotStatusStates);
    showPage(3);
    expectLooksAsStored("slots-list.png");
}

TEST_P(RoutingGoldenImage, SlotMenu) {
    setState(param::kOperatorType1 + 1, 1, 64);  // BIQUAD
    routeSlot(plugin(), 5, Slots::kSourceKnob1, Slots::kDestinationOperator + 16 + 1, 0.6f);
    showPage(3);
    CCordWnd& window = slotWindow();
    click(window.cellRect(5, CCordWnd::Column::kDestination));
    click(window.menuLineRect(0));  // OPERATOR PARAMETER
    click(window.menuLineRect(2));  // OPERATOR 2 - BIQUAD
    ASSERT_EQ(window.menu().level, MenuLevel::kOperatorParameters);
    expectLooksAsStored("slots-menu.png");
}

INSTANTIATE_TEST_SUITE_P(Zooms, RoutingGoldenImage, ::testing::Values(100, 200));

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
    panel.isOperator ? setOperatorType(panel.type) : setModulatorType(panel.type);
    for (const auto& [position, value] : panel.settings)
        panel.isOperator ? setOperator(position, value) : setModulator(position, value);
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
