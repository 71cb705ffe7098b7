// The routing pages rendered offscreen in telling states and compared with stored images: both
// views of the signal-path page, the predefined routings, and the slot window with its list and
// a menu.

#include "RoutingFixture.h"
#include "editor/EditorLayout.h"
#include "editor/GoldenCompare.h"
#include "editor/routing/CMatrixPage.h"
#include "editor/routing/PredefinedRoutings.h"
#include "editor/routing/SignalPathPage.h"
#include "engine/ModulationSlots.h"
#include "gui/Image.h"
#include "support/SlotRouting.h"

namespace {

using namespace kirra::editor;
namespace param = kirra::param;
using Slots = kirra::ModulationSlots;
using testing_support::routeSlot;

struct RoutingGolden : editor_tests::RoutingFixture, ::testing::WithParamInterface<int> {
    // At the zoom of the case, chosen before the page opens.
    void SetUp() override { setZoom(GetParam()); }
    void expectLooksAsStored(const char* name) {
        tick();
        testing_support::expectLooksAsStored(render(),
                                             testing_support::zoomedName(name, GetParam()));
    }
};

TEST_P(RoutingGolden, Connections) {
    applyPredefinedRouting(plugin(), 8);
    plugin().setParameter(param::kOpToOp11 + 6, 0.5f);   // OP2 -> OP3 at -12 dB
    plugin().setParameter(param::kOpToOp11 + 15, 0.2f);  // OP4 feeding itself
    plugin().setParameter(param::kDryDelay, kirra::indexToValue(400, 32769));
    setState(param::kOperatorBypass1 + 1, 1, 2);
    showPage(0);
    expectLooksAsStored("routing-connections.png");
}

TEST_P(RoutingGolden, Configuration) {
    setState(param::kOpLrMs, 0x01 | 0x10 | 0x04, 256);
    setState(param::kOpInv, 0x08, 16);
    showPage(0);
    click(frame().signalPathPage()->tabs()->getRect());
    expectLooksAsStored("routing-configuration.png");
}

TEST_P(RoutingGolden, PredefinedRoutings) {
    showPage(0);
    click(frame().findControl(tags::kPredefinedRouting)->getRect());
    ASSERT_TRUE(frame().isModalOpen());
    expectLooksAsStored("routing-chooser.png");
}

TEST_P(RoutingGolden, SlotList) {
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

TEST_P(RoutingGolden, SlotMenu) {
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

INSTANTIATE_TEST_SUITE_P(Zooms, RoutingGolden, ::testing::Values(100, 200));

}  // namespace
