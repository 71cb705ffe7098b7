// The editor while a host thread changes everything it shows and audio runs on a third: module
// types (so modules are replaced under an open panel or menu), their parameters, slots, routing
// gains, masks, the preview, the main levels and the page shown. Nothing may crash, hang, follow
// a stale pointer or lose the host's last values; the sanitizer pass runs this too.

#include <atomic>
#include <chrono>
#include <thread>

#include "editor/EditorLayout.h"
#include "editor/routing/CMatrixPage.h"
#include "editor/routing/ModulationPage.h"
#include "editor/routing/RoutingFixture.h"
#include "editor/routing/SignalPathPage.h"
#include "engine/ModulationSlots.h"
#include "gui/Image.h"

namespace {

using namespace kirra::editor;
namespace param = kirra::param;
using editor_tests::mouseAt;
using kirra::indexToValue;
using Slots = kirra::ModulationSlots;

struct EditorUnderHostChanges : editor_tests::RoutingFixture {};

TEST_F(EditorUnderHostChanges, PagesPanelsAndMenusSurviveAHostThreadChangingEverything) {
    showPage(3);
    std::atomic<bool> stop{false};
    std::thread hostThread([this, &stop] {
        kirra::Plugin& plugin = this->plugin();
        for (int round = 0; !stop.load(); ++round) {
            plugin.setParameter(param::kOperatorType1, indexToValue(round % 19, 64));
            plugin.setParameter(param::kModulatorType1 + round % 2, indexToValue(round % 5, 64));
            plugin.setParameter(param::operatorParameter(0, round % 16), (round % 11) / 10.0f);
            plugin.setParameter(param::modulatorParameter(0, round % 38), (round % 13) / 12.0f);
            plugin.setParameter(param::kModulationPreview, indexToValue(round % 3, 3));
            plugin.setParameter(param::kInput + round % 3, (round % 100) / 100.0f);
            int slot = round % param::kModulationSlots;
            plugin.setParameter(param::kSlotSource1 + slot,
                                indexToValue(round % Slots::kSources, param::kSourceStates));
            // Every slot aimed at the first operator's parameters, which keep changing meaning.
            plugin.setParameter(
                param::kSlotDestination1 + slot,
                indexToValue(Slots::kDestinationOperator + round % 16, param::kDestinationStates));
            plugin.setParameter(param::kRoutingFirst + round % param::kRoutingCount,
                                (round % 7) / 6.0f);
            plugin.setParameter(param::kOpLrMs, indexToValue(round % 256, 256));
            if (round % 50 == 0)
                plugin.setParameter(param::kCurrentMain, indexToValue(round % 100 ? 0 : 3, 4));
            // Thousands of changes a second, but not one straight after the other: the engine
            // mutex is not fair, and a thread that takes it again the moment it lets go kept
            // the editor waiting for minutes under ThreadSanitizer.
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    });
    std::thread audioThread([this, &stop] {
        while (!stop)
            process(256, 0.5f);
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
        // Pointer activity over both module panels while they may be rebuilt under it.
        const int x = 560 + (step * 37) % 200;
        const int y = 60 + (step * 53) % 140;
        frame().mouseDown(mouseAt(x, y));
        frame().mouseMoved(mouseAt(x, y - 20));
        frame().mouseUp(mouseAt(x, y - 20));
        frame().wheel(mouseAt(x - 480, y), 1.0f);
        if (frame().isModalOpen()) frame().closeModal();
        kirra::gui::Image image(layout::kWidth, layout::kHeight);
        if (step % 25 == 0) frame().renderAll(image);
    }
    stop = true;
    hostThread.join();
    audioThread.join();
    tick();
    // The main knobs show the host's last values, and every slot reads as the plug-in names it.
    for (int knob = 0; knob < 3; ++knob)
        EXPECT_FLOAT_EQ(frame().mainKnob(knob)->getValue(), value(param::kInput + knob));
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
