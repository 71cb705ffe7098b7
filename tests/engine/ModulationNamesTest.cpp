// Names of modulation sources and destinations, alone and as the host displays of the slots'
// source and destination parameters.

#include "engine/ModulationNames.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/ModulationSlots.h"
#include "modulators/LFO.h"
#include "modules/ModuleCatalogue.h"
#include "operators/effects/Gain.h"
#include "support/InProcessHost.h"
#include "support/SlotRouting.h"

using namespace testing_support;
using namespace kirra::param;
using Slots = kirra::ModulationSlots;

namespace {

std::string controller(int number) {
    kirra::ModuleText text;
    kirra::controllerName(number, text);
    return text;
}

std::string source(int index, const kirra::SlotModules& modules, bool longForm = true) {
    kirra::ModuleText text;
    if (longForm) {
        kirra::sourceName(index, modules, text);
    } else {
        kirra::sourceShortName(index, modules, text);
    }
    return text;
}

std::string destination(int index, const kirra::SlotModules& modules) {
    kirra::ModuleText text;
    kirra::destinationName(index, modules, text);
    return text;
}

}  // namespace

TEST(ModulationNames, ControllerNamesFillTheUnnamedWithTheirNumber) {
    EXPECT_EQ(controller(0), "bank sel MSB");
    EXPECT_EQ(controller(3), "control 3");
    EXPECT_EQ(controller(11), "expression");
    EXPECT_EQ(controller(31), "control 31");
    EXPECT_EQ(controller(33), "modul. LSB");
    EXPECT_EQ(controller(43), "express. LSB");
    EXPECT_EQ(controller(64), "sustain");
    EXPECT_EQ(controller(84), "porta ctrl");
    EXPECT_EQ(controller(99), "NRPN MSB");
    EXPECT_EQ(controller(119), "control 119");
    EXPECT_EQ(controller(123), "all note off");
    EXPECT_EQ(controller(127), "poly mode on");
    EXPECT_EQ(controller(128), "not assigned");
    EXPECT_EQ(controller(129), "error");
    EXPECT_EQ(controller(-1), "error");
    int named = 0;
    for (int number = 0; number <= 128; ++number)
        named += controller(number).rfind("control ", 0) != 0;
    EXPECT_EQ(named, 60);
}

TEST(ModulationNames, SourcesInBothForms) {
    kirra::LFO lfo(1, nullptr);
    kirra::SlotModules modules;
    modules.modulators[1] = &lfo;
    EXPECT_EQ(source(0, modules), "MOD 1: EMPTY");
    EXPECT_EQ(source(1, modules), "MOD 2: LFO");
    EXPECT_EQ(source(1, modules, false), "MOD2 LFO");
    EXPECT_EQ(source(11, modules), "KNOB 8");
    EXPECT_EQ(source(11, modules, false), "KNOB8");
    EXPECT_EQ(source(Slots::kSourceController0 + 1, modules), "MIDI CC modulation");
    EXPECT_EQ(source(Slots::kSourceController0 + 7, modules, false), "MIDI CC007");
    EXPECT_EQ(source(140, modules), "MIDI CC not assigned");
    EXPECT_EQ(source(140, modules, false), "MIDI CC128");
    EXPECT_EQ(source(141, modules), "MIDI note on");
    EXPECT_EQ(source(144, modules, false), "PITCHBEND");
    EXPECT_EQ(source(147, modules), "MIDI chn pressure");
    EXPECT_EQ(source(148, modules), "");
    EXPECT_EQ(source(149, modules), "error");
    EXPECT_EQ(source(-1, modules, false), "error");
}

TEST(ModulationNames, DestinationsOfEveryKind) {
    kirra::Gain gain(0, nullptr);
    kirra::LFO lfo(3, nullptr);
    kirra::SlotModules modules;
    modules.operators[0] = &gain;
    modules.modulators[3] = &lfo;
    EXPECT_EQ(destination(0, modules), "MAIN INPUT");
    EXPECT_EQ(destination(2, modules), "MAIN OUTPUT");
    EXPECT_EQ(destination(3, modules), "OP1 atten");
    EXPECT_EQ(destination(4, modules), "---");   // Gain has one position
    EXPECT_EQ(destination(66, modules), "---");  // no module there
    EXPECT_EQ(destination(67 + 3 * 38, modules), "MOD4 rate");
    EXPECT_EQ(destination(67 + 3 * 38 + 37, modules), "MOD4 ---");
    EXPECT_EQ(destination(67, modules), "MOD1 ---");
    EXPECT_EQ(destination(219, modules), "IN->OP1");
    EXPECT_EQ(destination(223 + 4 * 1 + 2, modules), "OP2->OP3");
    EXPECT_EQ(destination(242, modules), "OP4->OUT");
    EXPECT_EQ(destination(243, modules), "SLOT1 SENS");
    EXPECT_EQ(destination(258, modules), "SLOT16 SENS");
    EXPECT_EQ(destination(259, modules), "");
    EXPECT_EQ(destination(260, modules), "error");
}

TEST(ModulationNames, SlotParametersDisplayTheNames) {
    InProcessHost host;
    kirra::Plugin& plugin = host.plugin();
    setModulatorType(plugin, 1, kirra::kLFO);
    routeSlot(plugin, 4, 1, 67 + 38 + 4, 0.5f);
    auto display = [&](int index) {
        return hostText(plugin, &kirra::Plugin::getParameterDisplay, index);
    };
    EXPECT_EQ(display(kSlotSource1 + 4), "MOD 2: LFO");
    EXPECT_EQ(display(kSlotDestination1 + 4), "MOD2 tilt");
    EXPECT_EQ(display(kSlotDestination1), "");
    kirra::ModuleText name;
    plugin.getSourceName(Slots::kSourceNoteNumber, true, name);
    EXPECT_STREQ(name, "NOTE NUMBER");
    plugin.getDestinationName(3, name);
    EXPECT_STREQ(name, "OP1 atten");
}
