// The signal-path page driven by synthetic pointer events on a real plug-in: connection fields,
// operator blocks, tabs, coding and inversion switches, the dry delay and the predefined
// routings.

#include <limits>
#include <string>

#include "RoutingFixture.h"
#include "editor/BlinkPhase.h"
#include "editor/routing/CMatrixConn.h"
#include "editor/routing/CMatrixConnOP.h"
#include "editor/routing/CMatrixPage.h"
#include "editor/routing/CMatrixSwitch.h"
#include "editor/routing/ConfigurationView.h"
#include "editor/routing/ConnectionsView.h"
#include "editor/routing/PredefinedRoutings.h"
#include "editor/routing/RoutingChooser.h"
#include "editor/routing/RoutingTexts.h"
#include "editor/routing/SignalPathPage.h"

namespace {

using namespace kirra::editor;
namespace param = kirra::param;
using editor_tests::centreOf;
using editor_tests::mouseAt;
using kirra::indexToValue;

struct SignalPath : editor_tests::RoutingFixture {
    SignalPath() { showPage(0); }
    SignalPathPage& page() { return *frame().signalPathPage(); }
    CMatrixConn& connection(int index) {
        return *dynamic_cast<CMatrixConn*>(page().connectionsView()->findControl(index));
    }
    std::string shown(int index) { return connection(index).getText(); }
};

TEST_F(SignalPath, ConnectionsShowTheirGainAndDragsAreRecordedWithTheirGesture) {
    const int link = param::kOpToOp11 + 1;  // OP1 -> OP2, open in the flat chain
    // 200 pixels down of 400: half the value, a quarter of the gain.
    kirra::gui::Rect cell = connection(link).getRect();
    drag(centreOf(cell), 200);
    EXPECT_NEAR(value(link), 0.5f, 1e-6f);
    EXPECT_EQ(shown(link), "-12");
    EXPECT_TRUE(automated(link));
    expectOneGesture(link);
    // A host's change arrives at the next tick.
    host->setHostParameter(link, 0.0f);
    tick();
    EXPECT_EQ(shown(link), "-oo");
}

TEST_F(SignalPath, OperatorBlocksShowTheirNameTheirGainUnderThePointerAndBlinkWhenBypassed) {
    CMatrixConnOP* block = page().connectionsView()->operatorBlock(2);
    ASSERT_NE(block, nullptr);
    EXPECT_FALSE(block->isShowingValue());
    frame().mouseMoved(mouseAt(centreOf(block->getRect())));
    EXPECT_TRUE(block->isShowingValue());
    EXPECT_EQ(block->getText(), "-oo");
    frame().mouseMoved(mouseAt({0, 0}));
    EXPECT_FALSE(block->isShowingValue());

    plugin().setParameter(param::kOperatorBypass1 + 2, indexToValue(1, 2));
    tick();
    EXPECT_TRUE(block->isBypassed());
    EXPECT_FALSE(page().connectionsView()->operatorBlock(1)->isBypassed());
    // The blink phase reaches the blocks at every idle step.
    int alternate = 0;
    for (int step = 0; step < kBlinkPhases; ++step) {
        tick();
        alternate += block->isBlinkAlternate();
        EXPECT_FALSE(page().connectionsView()->operatorBlock(1)->isBlinkAlternate());
    }
    EXPECT_EQ(alternate, kBlinkPhases / 2);
}

TEST_F(SignalPath, TabsSwitchViewsAndTheEditorKeepsTheChoice) {
    ASSERT_TRUE(page().connectionsView()->isVisible());
    click(page().tabs()->tabRect(CMatrixPage::kConfiguration));
    EXPECT_EQ(page().getView(), CMatrixPage::kConfiguration);
    EXPECT_FALSE(page().connectionsView()->isVisible());
    EXPECT_TRUE(page().configurationView()->isVisible());
    // The choice is the editor's, not a parameter the host sees.
    EXPECT_TRUE(host->script().automation.empty());
    // Away to the library and back: the page is built again on the view it had.
    setState(param::kCurrentMain, 1, 4);
    tick();
    setState(param::kCurrentMain, 0, 4);
    tick();
    EXPECT_EQ(page().getView(), CMatrixPage::kConfiguration);
    // A click anywhere on the tabs switches to the other view.
    click(page().tabs()->tabRect(CMatrixPage::kConfiguration));
    EXPECT_EQ(page().getView(), CMatrixPage::kConnections);
}

TEST_F(SignalPath, SwitchesFlipTheirBitOfTheSharedMaskAndFollowTheHost) {
    click(page().tabs()->getRect());
    ConfigurationView& view = *page().configurationView();
    // OP2's output decoding is bit 5 of "OP_LR_MS"; OP4's inversion bit 3 of "OP_Inv".
    setState(param::kOpLrMs, 0x01, 256);
    tick();
    click(view.switchAt(1, 1)->getRect());
    EXPECT_EQ(state(param::kOpLrMs, 256), 0x21);
    click(view.switchAt(3, 2)->getRect());
    EXPECT_EQ(state(param::kOpInv, 16), 0x08);
    // Plain settings, not recorded by the host.
    EXPECT_TRUE(host->script().automation.empty());
    // The host's mask reaches every switch that shares it.
    setState(param::kOpLrMs, 0xF0, 256);
    tick();
    for (int op = 0; op < 4; ++op) {
        EXPECT_FALSE(view.switchAt(op, 0)->isOn());
        EXPECT_TRUE(view.switchAt(op, 1)->isOn());
    }
}

// The mask arithmetic behind the switches: flipping back, a smaller mask, a careless value.
TEST(RoutingTexts, ABitOfASharedMaskFlipsAlone) {
    float flipped = withBitToggled(indexToValue(0x21, 256), 256, 7);
    EXPECT_EQ(maskOf(flipped, 256), 0xA1);
    EXPECT_EQ(maskOf(withBitToggled(flipped, 256, 7), 256), 0x21);
    EXPECT_EQ(maskOf(withBitToggled(indexToValue(15, 16), 16, 0), 16), 14);
    // A careless host's value reads as an empty mask.
    EXPECT_EQ(maskOf(withBitToggled(std::numeric_limits<float>::quiet_NaN(), 16, 2), 16), 4);
}

TEST_F(SignalPath, DryDelayShowsSamplesAtTheRateItMeansAndIsRecorded) {
    kirra::gui::Control* dry = page().connectionsView()->findControl(param::kDryDelay);
    ASSERT_NE(dry, nullptr);
    plugin().setParameter(param::kDryDelay, 1.0f);
    tick();
    // At 44.1 kHz the stored state is divided by 4: the largest is 8192 samples.
    EXPECT_EQ(dynamic_cast<CModuleParam*>(dry)->getText(), "DLY 8192 (185.8ms)");
    // The wheel steps it, and the host records it as it records the routing gains.
    frame().wheel(mouseAt(centreOf(dry->getRect())), -1.0f);
    EXPECT_NEAR(value(param::kDryDelay), 0.99f, 1e-6f);
    EXPECT_TRUE(automated(param::kDryDelay));
}

TEST_F(SignalPath, ChoosingARoutingWritesAllGainsWithoutRecordingThem) {
    kirra::gui::Control* caption = page().connectionsView()->findControl(tags::kPredefinedRouting);
    ASSERT_NE(caption, nullptr);
    // Closed without a choice: nothing changes.
    click(caption->getRect());
    ASSERT_TRUE(frame().isModalOpen());
    click(kirra::gui::Point{5, 5});
    EXPECT_FALSE(frame().isModalOpen());
    EXPECT_FLOAT_EQ(value(param::kOpToOp11 + 1), 1.0f);

    click(caption->getRect());
    auto* chooser = dynamic_cast<RoutingChooser*>(frame().getModalView());
    ASSERT_NE(chooser, nullptr);
    click(chooser->cellRect(10));
    EXPECT_FALSE(frame().isModalOpen());
    float chosen[param::kRoutingCount];
    ASSERT_TRUE(predefinedRoutingValues(10, chosen));
    for (int index = 0; index < param::kRoutingCount; ++index)
        EXPECT_FLOAT_EQ(value(param::kRoutingFirst + index), chosen[index]) << index;
    EXPECT_TRUE(host->script().automation.empty());
    tick();
    EXPECT_EQ(shown(param::kOpToOp11 + 1), "-oo");
}

TEST_F(SignalPath, PageRebuiltUnderAnOpenChooserTakesTheChooserAlong) {
    click(page().connectionsView()->findControl(tags::kPredefinedRouting)->getRect());
    ASSERT_TRUE(frame().isModalOpen());
    // The host switches pages while the grid is open.
    setState(param::kCurrentMain, 3, 4);
    tick();
    EXPECT_FALSE(frame().isModalOpen());
    click(kirra::gui::Point{400, 100});
    EXPECT_FLOAT_EQ(value(param::kOpToOp11 + 1), 1.0f);
}

}  // namespace
