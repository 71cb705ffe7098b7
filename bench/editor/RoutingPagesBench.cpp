// The routing pages' cost on the editor's thread: reading all sixteen slots again after a slot
// parameter or a module type changed, building a menu of a module's parameters, and redrawing
// the busiest states (every slot in use, a long menu, the grid of routing diagrams).

#include <benchmark/benchmark.h>

#include <memory>

#include "BenchSupport.h"
#include "editor/Editor.h"
#include "editor/EditorLayout.h"
#include "editor/KirraFrame.h"
#include "editor/routing/CCordWnd.h"
#include "editor/routing/ModulationPage.h"
#include "editor/routing/SignalPathPage.h"
#include "editor/routing/SlotMenu.h"
#include "engine/ModulationSlots.h"
#include "engine/ParameterIndex.h"
#include "gui/Image.h"
#include "modules/ModuleMath.h"

namespace {

using namespace kirra::editor;
namespace param = kirra::param;
using Slots = kirra::ModulationSlots;

// The editor on a page, every slot routing a source to a module parameter.
struct BusyEditor {
    explicit BusyEditor(int page) : plugin(bench_support::makePlugin()) {
        editor = new Editor(*plugin);
        plugin->attachEditor(editor, editor);
        plugin->setParameter(param::kModulatorType1, kirra::indexToValue(1, 64));
        plugin->setParameter(param::kOperatorType1, kirra::indexToValue(1, 64));
        for (int slot = 0; slot < param::kModulationSlots; ++slot) {
            plugin->setParameter(param::kSlotSource1 + slot,
                                 kirra::indexToValue(slot * 9, param::kSourceStates));
            plugin->setParameter(param::kSlotDestination1 + slot,
                                 kirra::indexToValue(Slots::kDestinationOperator + slot % 5,
                                                     param::kDestinationStates));
            plugin->setParameter(param::kSlotSensitivity1 + slot, slot / 15.0f);
        }
        plugin->setParameter(param::kCurrentMain, kirra::indexToValue(page, 4));
        editor->openOffscreen();
    }
    KirraFrame& frame() { return *editor->getFrame(); }
    CCordWnd& slots() { return *frame().modulationPage()->slotWindow(); }

    std::unique_ptr<kirra::Plugin> plugin;
    Editor* editor;  // owned by the plug-in
    kirra::gui::Image backBuffer{layout::kWidth, layout::kHeight};
};

void slotWindowRefresh(benchmark::State& state) {
    BusyEditor busy(3);
    for (auto _ : state)
        busy.slots().refresh();
}
BENCHMARK(slotWindowRefresh)->Unit(benchmark::kMicrosecond);

void moduleParameterMenu(benchmark::State& state) {
    BusyEditor busy(3);
    const auto level = static_cast<MenuLevel>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(SlotMenu::build(level, 0, *busy.plugin));
}
BENCHMARK(moduleParameterMenu)
    ->Arg(static_cast<int>(MenuLevel::kOperatorParameters))
    ->Arg(static_cast<int>(MenuLevel::kModulatorParameters))
    ->Arg(static_cast<int>(MenuLevel::kControllers))
    ->Unit(benchmark::kMicrosecond);

// A frame redraw with the slot window full (0), a long menu open (1), the signal-path page (2)
// and its grid of diagrams open (3).
void routingRedraw(benchmark::State& state) {
    const int shown = static_cast<int>(state.range(0));
    BusyEditor busy(shown >= 2 ? 0 : 3);
    auto click = [&busy](const kirra::gui::Rect& rect) {
        kirra::gui::MouseEvent event;
        event.where = {rect.left + 5, rect.top + 5};
        event.buttons = kirra::gui::kLeftButton;
        busy.frame().mouseDown(event);
        busy.frame().mouseUp(event);
    };
    if (shown == 1) {
        // The controller list: MIDI INPUT, then MIDI CONTROL CHANGE.
        busy.slots().openSourceMenu(0);
        click(busy.slots().menuLineRect(2));
        click(busy.slots().menuLineRect(1));
    }
    if (shown == 3) click(busy.frame().findControl(tags::kPredefinedRouting)->getRect());
    for (auto _ : state) {
        busy.frame().renderAll(busy.backBuffer);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(routingRedraw)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace
