// Every name the slot window can show, in the list and in the controller menu: whole, or cut with
// an ellipsis and the whole text shown on hover; and the list's names tell all sources apart.

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "RoutingFixture.h"
#include "engine/ModulationNames.h"
#include "engine/ModulationSlots.h"
#include "support/SlotRouting.h"

namespace {

using namespace kirra::editor;
namespace param = kirra::param;
using Slots = kirra::ModulationSlots;
using kirra::gui::Rect;
using kirra::gui::TextDrawn;

struct SlotNames : editor_tests::RoutingFixture {
    SlotNames() {
        setState(param::kModulatorType1, 1, 64);     // LFO
        setState(param::kOperatorType1 + 1, 1, 64);  // BIQUAD
        showPage(3);
    }

    // The texts drawn inside a cell, after a tick takes the changes.
    std::vector<TextDrawn> textsIn(const Rect& cell) {
        tick();
        std::vector<TextDrawn> inside;
        for (const TextDrawn& text : renderTexts()) {
            if (cell.intersects(text.box) && text.view == &slotWindow()) inside.push_back(text);
        }
        return inside;
    }

    void expectWholeOrOnHover(const Rect& cell, const std::string& name) {
        std::vector<TextDrawn> texts = textsIn(cell);
        ASSERT_EQ(texts.size(), 1u) << name;
        EXPECT_EQ(texts[0].text, name);
        if (texts[0].cut) {
            EXPECT_EQ(frame().cutTextAt(testing_support::centreOf(texts[0].box)), name);
        }
    }
};

TEST_F(SlotNames, EverySourceAndDestinationIsWholeOrWholeOnHover) {
    std::set<std::string> sources;
    for (int source = 0; source < Slots::kSourceNone; ++source) {
        testing_support::routeSlot(plugin(), 0, source, Slots::kDestinationMain, 0.7f);
        expectWholeOrOnHover(slotWindow().cellRect(0, CCordWnd::Column::kSource),
                             slotWindow().sourceShown(0));
        sources.insert(slotWindow().sourceShown(0));
    }
    // No two sources read the same.
    EXPECT_EQ(sources.size(), static_cast<size_t>(Slots::kSourceNone));
    for (int destination = 0; destination < Slots::kDestinationNone; ++destination) {
        testing_support::routeSlot(plugin(), 0, Slots::kSourceKnob1, destination, 0.7f);
        if (slotWindow().destinationShown(0).empty()) continue;
        expectWholeOrOnHover(slotWindow().cellRect(0, CCordWnd::Column::kDestination),
                             slotWindow().destinationShown(0));
    }
}

TEST_F(SlotNames, ANamedKnobShowsItsNameBesideItsNumberInTheListAndTheMenu) {
    editor->knobRenamed(param::kKnob1 + 2, "CUTOFF");
    testing_support::routeSlot(plugin(), 0, Slots::kSourceKnob1 + 2, Slots::kDestinationMain, 0.7f);
    tick();
    EXPECT_EQ(slotWindow().sourceShown(0), "KNOB3 CUTOFF");
    click(slotWindow().cellRect(1, CCordWnd::Column::kSource));
    click(slotWindow().menuLineRect(0));  // ASSIGNABLE KNOB
    ASSERT_EQ(slotWindow().menu().level, MenuLevel::kKnobs);
    const std::string line = slotWindow().menu().entries[3].text;  // after ".. [parent]"
    EXPECT_EQ(line.rfind("ASSIGNABLE KNOB 3", 0), 0u) << line;
    EXPECT_NE(line.find("CUTOFF"), std::string::npos) << line;
}

TEST_F(SlotNames, TheControllerListNamesEachControllerBesideItsNumber) {
    click(slotWindow().cellRect(0, CCordWnd::Column::kSource));
    click(slotWindow().menuLineRect(2));  // MIDI INPUT
    click(slotWindow().menuLineRect(1));  // MIDI CONTROL CHANGE
    ASSERT_EQ(slotWindow().menu().level, MenuLevel::kControllers);
    for (int controller = 0; controller < 128; ++controller) {
        const int line = controller + 1;  // after ".. [parent]"
        slotWindow().scrollMenuTo(line);
        kirra::ModuleText name = "";
        kirra::controllerName(controller, name);
        char number[8];
        std::snprintf(number, sizeof(number), "%03d", controller);
        const std::string shown = slotWindow().menu().entries[line].text;
        EXPECT_EQ(shown.rfind(number, 0), 0u) << shown;
        if (std::string(name) != "control " + std::to_string(controller)) {
            EXPECT_NE(shown.find(name), std::string::npos) << shown;
        }
        expectWholeOrOnHover(slotWindow().menuLineRect(line), shown);
    }
}

}  // namespace
