// The modulation-slot window driven by synthetic pointer events on a real plug-in: the list, the
// sensitivity gestures, the source and destination menus level by level, controller learn and
// scrolling at the ends of its ranges. And every name it can show, in the list and in the
// controller menu: whole, or cut with an ellipsis and the whole text shown on hover.

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "RoutingFixture.h"
#include "editor/routing/SlotMenu.h"
#include "editor/routing/SourceLabels.h"
#include "engine/MidiLearn.h"
#include "engine/ModulationNames.h"
#include "engine/ModulationSlots.h"
#include "support/EventList.h"
#include "support/SlotRouting.h"

namespace {

using namespace kirra::editor;
namespace param = kirra::param;
using editor_tests::centreOf;
using editor_tests::mouseAt;
using Column = CCordWnd::Column;
using Slots = kirra::ModulationSlots;
using testing_support::destinationInUse;
using testing_support::routeSlot;

struct SlotWindow : editor_tests::RoutingFixture {
    SlotWindow() {
        setState(param::kModulatorType1, 1, 64);     // LFO
        setState(param::kOperatorType1 + 1, 1, 64);  // BIQUAD
        showPage(3);
    }
    void route(int slot, int source, int destination) {
        routeSlot(plugin(), slot, source, destination, 0.5f);
        tick();
    }
    int source(int slot) { return state(param::kSlotSource1 + slot, param::kSourceStates); }
    int destination(int slot) {
        return state(param::kSlotDestination1 + slot, param::kDestinationStates);
    }
    // As the list shows a source: its short form, a knob with its given name.
    std::string sourceName(int index) { return slotSourceLabel(plugin(), index); }
    std::string destinationName(int index) {
        kirra::ModuleText text = "";
        plugin().getDestinationName(index, text);
        return text;
    }
    // Every choice of a menu level and of the levels it opens.
    void collect(MenuLevel level, int moduleSlot, std::multiset<int>& choices) {
        for (const MenuEntry& entry : SlotMenu::build(level, moduleSlot, plugin()).entries) {
            if (entry.kind == MenuEntry::Kind::kChoose) choices.insert(entry.choice);
            if (entry.kind == MenuEntry::Kind::kOpen)
                collect(entry.level, entry.moduleSlot, choices);
        }
    }
    std::vector<std::string> lines() {
        std::vector<std::string> texts;
        for (const MenuEntry& entry : slotWindow().menu().entries)
            texts.push_back(entry.text);
        return texts;
    }
    // Clicks the menu line with this text, scrolled into view first.
    void choose(const std::string& text) {
        const auto& entries = slotWindow().menu().entries;
        for (size_t line = 0; line < entries.size(); ++line) {
            if (entries[line].text != text) continue;
            slotWindow().scrollMenuTo(static_cast<int>(line));
            click(slotWindow().menuLineRect(static_cast<int>(line)));
            return;
        }
        ADD_FAILURE() << "no line " << text;
    }
    // The one text drawn inside a cell, after a tick takes the changes: the name, or the name
    // cut short and shown whole under the pointer.
    void expectWholeOrOnHover(const kirra::gui::Rect& cell, const std::string& name) {
        tick();
        std::vector<kirra::gui::TextDrawn> texts;
        for (const kirra::gui::TextDrawn& text : renderTexts()) {
            if (cell.intersects(text.box) && text.view == &slotWindow()) texts.push_back(text);
        }
        ASSERT_EQ(texts.size(), 1u) << name;
        EXPECT_EQ(texts[0].text, name);
        if (texts[0].cut) {
            EXPECT_EQ(frame().cutTextAt(centreOf(texts[0].box)), name);
        }
    }
};

TEST_F(SlotWindow, ASlotShowsItsNamesAndSensitivityWhenCompleteAndRightClicksMuteIt) {
    // (Empty slots are drawn empty in the slot list's golden image.)
    route(4, Slots::kSourceKnob1, Slots::kDestinationNone);
    EXPECT_EQ(slotWindow().sourceShown(4), sourceName(Slots::kSourceKnob1));
    EXPECT_EQ(slotWindow().sensitivityShown(4), "");
    route(4, Slots::kSourceNone, Slots::kDestinationMain + 1);
    EXPECT_EQ(slotWindow().sensitivityShown(4), "");
    route(4, Slots::kSourceKnob1, Slots::kDestinationMain + 1);
    EXPECT_EQ(slotWindow().destinationShown(4), destinationName(Slots::kDestinationMain + 1));
    EXPECT_EQ(slotWindow().sensitivityShown(4), "0");
    // Nothing to mute on a slot that routes nothing.
    click(slotWindow().cellRect(5, Column::kSensitivity), kirra::gui::kRightButton);
    EXPECT_EQ(state(param::kSlotStatus, param::kSlotStatusStates), 0);

    kirra::gui::Rect cell = slotWindow().cellRect(4, Column::kSensitivity);
    click(cell, kirra::gui::kRightButton);
    EXPECT_EQ(slotWindow().sensitivityShown(4), "----");
    EXPECT_EQ(state(param::kSlotStatus, param::kSlotStatusStates), 1 << 4);
    click(cell, kirra::gui::kRightButton);
    EXPECT_EQ(slotWindow().sensitivityShown(4), "0");
    EXPECT_EQ(state(param::kSlotStatus, param::kSlotStatusStates), 0);
    // A program setting, not a host parameter; the host mutes it too.
    EXPECT_FALSE(automated(param::kSlotStatus));
    setState(param::kSlotStatus, 1 << 4, param::kSlotStatusStates);
    tick();
    EXPECT_EQ(slotWindow().sensitivityShown(4), "----");
}

TEST_F(SlotWindow, SensitivityDragsOver200PixelsOr1000WithShiftAndTypes) {
    route(0, Slots::kSourceKnob1, Slots::kDestinationMain + 2);
    const int sensitivity = param::kSlotSensitivity1;
    drag(centreOf(slotWindow().cellRect(0, Column::kSensitivity)), -100);
    EXPECT_NEAR(value(sensitivity), 1.0f, 1e-6f);
    EXPECT_EQ(slotWindow().sensitivityShown(0), "+100");
    EXPECT_TRUE(automated(sensitivity));
    expectOneGesture(sensitivity);

    drag(centreOf(slotWindow().cellRect(0, Column::kSensitivity)), 500, kirra::gui::kShift);
    EXPECT_NEAR(value(sensitivity), 0.5f, 1e-6f);

    doubleClick(slotWindow().cellRect(0, Column::kSensitivity));
    type("-25");
    EXPECT_NEAR(value(sensitivity), 0.375f, 1e-6f);
    EXPECT_EQ(slotWindow().sensitivityShown(0), "-25");
    EXPECT_EQ(frame().getFocusView(), nullptr);
}

// Every source, and every destination a module in the slots uses, is offered exactly once
// somewhere in the menu trees ("[remove]" chooses no source).
TEST_F(SlotWindow, TheMenusOfferEveryChoiceOnce) {
    std::multiset<int> sources, destinations;
    collect(MenuLevel::kSources, 0, sources);
    collect(MenuLevel::kDestinations, 0, destinations);
    // All but the controller list's extra "not assigned" entry.
    for (int source = 0; source < Slots::kSources; ++source) {
        EXPECT_EQ(sources.count(source), source == Slots::kSourceController0 + 128 ? 0u : 1u)
            << sourceName(source);
    }
    for (int destination = 0; destination < Slots::kDestinationNone; ++destination) {
        EXPECT_EQ(destinations.count(destination),
                  destinationInUse(plugin(), destination) ? 1u : 0u)
            << destinationName(destination);
    }
}

TEST_F(SlotWindow, MenusChooseAtEveryLevelGoBackAndLeave) {
    route(1, Slots::kSourceNone, Slots::kDestinationMain + 1);
    click(slotWindow().cellRect(1, Column::kSource));
    ASSERT_TRUE(slotWindow().isMenuOpen());
    choose("INTERNAL MODULATOR");
    choose("MOD 1 - LFO");
    EXPECT_FALSE(slotWindow().isMenuOpen());
    EXPECT_EQ(source(1), Slots::kSourceModulator1);
    EXPECT_EQ(slotWindow().sourceShown(1), sourceName(Slots::kSourceModulator1));
    EXPECT_FALSE(automated(param::kSlotSource1 + 1));
    click(slotWindow().cellRect(1, Column::kSource));
    choose("ASSIGNABLE KNOB");
    choose(".. [parent]");
    EXPECT_EQ(slotWindow().menu().level, MenuLevel::kSources);
    choose("[remove]");
    EXPECT_EQ(source(1), Slots::kSourceNone);
    EXPECT_EQ(slotWindow().sensitivityShown(1), "");

    click(slotWindow().cellRect(3, Column::kDestination));
    choose("SIGNAL PATH");
    EXPECT_EQ(lines().size(), 1u + param::kRoutingCount);
    // EXIT leaves the slot as it was.
    click(slotWindow().exitRect());
    EXPECT_FALSE(slotWindow().isMenuOpen());
    EXPECT_EQ(destination(3), Slots::kDestinationNone);
    // The host puts a biquad into the slot while its parameters are listed.
    click(slotWindow().cellRect(3, Column::kDestination));
    choose("OPERATOR PARAMETER");
    choose("OPERATOR 1 - GAIN");
    ASSERT_EQ(lines().size(), 2u);
    setState(param::kOperatorType1, 1, 64);
    tick();
    ASSERT_GT(lines().size(), 2u);
    EXPECT_EQ(lines()[1].rfind("OP1 (BIQUAD) ", 0), 0u) << lines()[1];
    const MenuEntry last = slotWindow().menu().entries.back();
    choose(last.text);
    EXPECT_EQ(destination(3), last.choice);
    EXPECT_EQ(slotWindow().destinationShown(3), destinationName(last.choice));
}

TEST_F(SlotWindow, ControllerListNamesEachLearnsTheNextAndEndsWithTheLast) {
    route(6, Slots::kSourceNone, Slots::kDestinationMain);
    auto openControllers = [this] {
        click(slotWindow().cellRect(6, Column::kSource));
        choose("MIDI INPUT");
        choose("MIDI CONTROL CHANGE");
    };
    openControllers();
    ASSERT_EQ(lines().size(), 129u);
    // Each controller by its number, with its name where it has one.
    for (int controller = 0; controller < 128; ++controller) {
        const int line = controller + 1;  // after ".. [parent]"
        slotWindow().scrollMenuTo(line);
        kirra::ModuleText name = "";
        kirra::controllerName(controller, name);
        char number[8];
        std::snprintf(number, sizeof(number), "%03d", controller);
        const std::string shown = lines()[line];
        EXPECT_EQ(shown.rfind(number, 0), 0u) << shown;
        if (std::string(name) != "control " + std::to_string(controller)) {
            EXPECT_NE(shown.find(name), std::string::npos) << shown;
        }
        expectWholeOrOnHover(slotWindow().menuLineRect(line), shown);
    }
    click(slotWindow().learnRect());
    EXPECT_EQ(editor->getLearningSlot(), 6);
    EXPECT_EQ(plugin().getMidiLearn().getState(), kirra::MidiLearn::kMonitor);
    click(slotWindow().learnRect());  // pressed again, it stops waiting
    EXPECT_EQ(editor->getLearningSlot(), -1);
    EXPECT_EQ(plugin().getMidiLearn().getState(), kirra::MidiLearn::kIdle);
    click(slotWindow().learnRect());
    testing_support::EventList events;
    events.midi(10, 0xB3, 74, 100);  // channel 4: any channel will do
    events.sendTo(*host);
    host->process(testing_support::Stereo(64), 64);
    tick();
    EXPECT_EQ(source(6), Slots::kSourceController0 + 74);
    EXPECT_EQ(editor->getLearningSlot(), -1);
    EXPECT_FALSE(slotWindow().isMenuOpen());
    EXPECT_EQ(slotWindow().sourceShown(6), sourceName(Slots::kSourceController0 + 74));

    // Leaving the list stops the wait; its last line chooses the last controller.
    openControllers();
    click(slotWindow().learnRect());
    click(slotWindow().exitRect());
    EXPECT_EQ(plugin().getMidiLearn().getState(), kirra::MidiLearn::kIdle);
    openControllers();
    slotWindow().scrollMenuTo(1000);
    click(slotWindow().menuLineRect(128));
    EXPECT_EQ(source(6), Slots::kSourceController0 + 127);
}

TEST_F(SlotWindow, RightClicksSelectTheModulesASlotNames) {
    route(0, Slots::kSourceModulator1 + 2, Slots::kDestinationOperator + 3 * 16 + 0);
    click(slotWindow().cellRect(0, Column::kSource), kirra::gui::kRightButton);
    EXPECT_EQ(state(param::kCurrentModulator, 4), 2);
    click(slotWindow().cellRect(0, Column::kDestination), kirra::gui::kRightButton);
    EXPECT_EQ(state(param::kCurrentOperator, 4), 3);
    tick();
    EXPECT_EQ(frame().shownOperator(), 3);
    EXPECT_EQ(frame().shownModulator(), 2);
    EXPECT_FALSE(slotWindow().isMenuOpen());
}

TEST_F(SlotWindow, SixteenSlotsOnOneDestinationScrollOneRowPerArrowClick) {
    for (int slot = 0; slot < CCordWnd::kSlots; ++slot)
        routeSlot(plugin(), slot, Slots::kSourceKnob1, Slots::kDestinationMain + 1, 0.5f);
    tick();
    const kirra::gui::ScrollBar& bar = slotWindow().listScrollBar();
    EXPECT_TRUE(slotWindow().cellRect(15, Column::kSource).isEmpty());
    for (int clicks = 0; clicks < 10; ++clicks)
        click(bar.downArrow());
    EXPECT_EQ(slotWindow().getFirstRow(), 4);
    EXPECT_FALSE(slotWindow().cellRect(15, Column::kSource).isEmpty());
    for (int slot = 0; slot < CCordWnd::kSlots; ++slot)
        EXPECT_EQ(slotWindow().sensitivityShown(slot), "0");
    // The menu opens on the row under the pointer after scrolling.
    click(slotWindow().cellRect(15, Column::kDestination));
    EXPECT_EQ(slotWindow().getEditedSlot(), 15);
    // The present choice is in view and lit.
    EXPECT_EQ(slotWindow().menu().lineOfChoice(Slots::kDestinationMain + 1), -1);
    choose("MAIN SECTION");
    EXPECT_FALSE(slotWindow()
                     .menuLineRect(slotWindow().menu().lineOfChoice(Slots::kDestinationMain + 1))
                     .isEmpty());
}

TEST_F(SlotWindow, EverySourceAndDestinationIsWholeOrWholeOnHover) {
    std::set<std::string> sources;
    for (int source = 0; source < Slots::kSourceNone; ++source) {
        routeSlot(plugin(), 0, source, Slots::kDestinationMain, 0.7f);
        expectWholeOrOnHover(slotWindow().cellRect(0, Column::kSource),
                             slotWindow().sourceShown(0));
        sources.insert(slotWindow().sourceShown(0));
    }
    // No two sources read the same.
    EXPECT_EQ(sources.size(), static_cast<size_t>(Slots::kSourceNone));
    for (int destination = 0; destination < Slots::kDestinationNone; ++destination) {
        routeSlot(plugin(), 0, Slots::kSourceKnob1, destination, 0.7f);
        if (slotWindow().destinationShown(0).empty()) continue;
        expectWholeOrOnHover(slotWindow().cellRect(0, Column::kDestination),
                             slotWindow().destinationShown(0));
    }
}

TEST_F(SlotWindow, ANamedKnobShowsItsNameBesideItsNumberInTheListAndTheMenu) {
    // A shorter name over a longer one keeps none of the old letters.
    editor->knobRenamed(param::kKnob1 + 2, "RESONANT");
    editor->knobRenamed(param::kKnob1 + 2, "CUTOFF");
    routeSlot(plugin(), 0, Slots::kSourceKnob1 + 2, Slots::kDestinationMain, 0.7f);
    tick();
    EXPECT_EQ(slotWindow().sourceShown(0), "KNOB3 CUTOFF");
    EXPECT_EQ(frame().assignableKnob(2)->getName(), "CUTOFF");
    click(slotWindow().cellRect(1, Column::kSource));
    click(slotWindow().menuLineRect(0));  // ASSIGNABLE KNOB
    ASSERT_EQ(slotWindow().menu().level, MenuLevel::kKnobs);
    const std::string line = slotWindow().menu().entries[3].text;  // after ".. [parent]"
    EXPECT_EQ(line.rfind("ASSIGNABLE KNOB 3", 0), 0u) << line;
    EXPECT_NE(line.find("CUTOFF"), std::string::npos) << line;
}

}  // namespace
