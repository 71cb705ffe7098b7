// The routing pages while a host thread changes everything they show: module types (so modules
// are replaced under an open menu), slots, routing gains, masks and the page shown. Nothing may
// crash, hang or follow a stale pointer; the sanitizer pass runs this too.

#include <atomic>
#include <chrono>
#include <thread>

#include "RoutingFixture.h"
#include "editor/EditorLayout.h"
#include "editor/routing/CMatrixPage.h"
#include "editor/routing/ModulationPage.h"
#include "editor/routing/SignalPathPage.h"
#include "engine/ModulationSlots.h"
#include "gui/Image.h"

namespace {

using namespace kirra::editor;
namespace param = kirra::param;
using Slots = kirra::ModulationSlots;

struct RoutingUnderHostChanges : editor_tests::RoutingFixture {};

TEST_F(RoutingUnderHostChanges, PagesAndMenusSurviveAHostThreadChangingEverything) {
    showPage(3);
    std::atomic<bool> stop{false};
    std::thread hostThread([this, &stop] {
        kirra::Plugin& plugin = this->plugin();
        for (int round = 0; !stop.load(); ++round) {
            plugin.setParameter(param::kOperatorType1, kirra::indexToValue(round % 19, 64));
            plugin.setParameter(param::kModulatorType1 + 1, kirra::indexToValue(round % 5, 64));
            int slot = round % param::kModulationSlots;
            plugin.setParameter(param::kSlotSource1 + slot,
                                kirra::indexToValue(round % Slots::kSources, param::kSourceStates));
            // Every slot aimed at the first operator's parameters, which keep changing meaning.
            plugin.setParameter(param::kSlotDestination1 + slot,
                                kirra::indexToValue(Slots::kDestinationOperator + round % 16,
                                                    param::kDestinationStates));
            plugin.setParameter(param::kRoutingFirst + round % param::kRoutingCount,
                                (round % 7) / 6.0f);
            plugin.setParameter(param::kOpLrMs, kirra::indexToValue(round % 256, 256));
            if (round % 50 == 0)
                plugin.setParameter(param::kCurrentMain,
                                    kirra::indexToValue(round % 100 ? 0 : 3, 4));
            // Thousands of changes a second, but not one straight after the other: the engine
            // mutex is not fair, and a thread that takes it again the moment it lets go kept
            // the editor waiting for minutes under ThreadSanitizer.
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    });
    for (int step = 0; step < 300; ++step) {
        tick();
        if (ModulationPage* page = frame().modulationPage()) {
            CCordWnd& window = *page->slotWindow();
            if (!window.isMenuOpen()) {
                click(window.cellRect(step % 12, CCordWnd::Column::kDestination));
                click(window.menuLineRect(0));  // OPERATOR PARAMETER
                click(window.menuLineRect(1));  // OPERATOR 1
            } else if (window.menu().entries.size() > 1) {
                click(window.menuLineRect(static_cast<int>(window.menu().entries.size()) - 1));
            }
        } else if (SignalPathPage* pathPage = frame().signalPathPage()) {
            click(pathPage->tabs()->getRect());
            if (step % 20 == 0) setState(param::kCurrentMain, 3, 4);
        }
        kirra::gui::Image image(layout::kWidth, layout::kHeight);
        if (step % 25 == 0) frame().renderAll(image);
    }
    stop = true;
    hostThread.join();
    tick();
    // Every slot still reads as the plug-in names it.
    setState(param::kCurrentMain, 3, 4);
    tick();
    CCordWnd& window = slotWindow();
    for (int slot = 0; slot < CCordWnd::kSlots; ++slot) {
        kirra::ModuleText name = "";
        plugin().getDestinationName(
            state(param::kSlotDestination1 + slot, param::kDestinationStates), name);
        EXPECT_EQ(window.destinationShown(slot), name);
    }
}

}  // namespace
