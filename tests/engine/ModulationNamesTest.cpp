// Names of modulation sources and destinations: printable, one of its own for everything a slot
// can choose, built from the names of the modules in the slots. (That the host shows them for the
// slots' parameters is read back through the program compiler.)

#include "engine/ModulationNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "engine/ModulationSlots.h"
#include "modulators/LFO.h"
#include "operators/effects/Gain.h"
#include "support/ModuleTexts.h"

using namespace testing_support;
using namespace kirra::param;
using Slots = kirra::ModulationSlots;

namespace {

using NameFunction = void (*)(int, const kirra::SlotModules&, kirra::ModuleText&);

std::string name(NameFunction function, int index, const kirra::SlotModules& modules) {
    kirra::ModuleText text = "";
    function(index, modules, text);
    return text;
}

std::string controller(int number) {
    kirra::ModuleText text = "";
    kirra::controllerName(number, text);
    return text;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Names in a list: printable, not empty, each different from the others and from the name of
// what lies outside the list.
void expectOwnNames(const std::vector<std::string>& names, const std::string& outside) {
    std::set<std::string> seen;
    for (size_t index = 0; index < names.size(); ++index) {
        EXPECT_TRUE(std::all_of(names[index].begin(), names[index].end(),
                                [](unsigned char c) { return c >= 32 && c <= 126; }))
            << index << " " << names[index];
        EXPECT_FALSE(names[index].empty()) << index;
        EXPECT_TRUE(seen.insert(names[index]).second) << index << " " << names[index];
    }
    EXPECT_EQ(seen.count(outside), 0u);
}

}  // namespace

TEST(ModulationNames, EveryChoiceHasAPrintableNameOfItsOwnMadeOfWhatItStandsFor) {
    kirra::Gain gain(0, nullptr);
    kirra::LFO lfo(1, nullptr);
    kirra::SlotModules modules;
    modules.operators[0] = &gain;
    modules.modulators[1] = &lfo;
    const std::string outside = controller(129);
    EXPECT_EQ(controller(-1), outside);
    std::vector<std::string> controllers, sources, shortSources, destinations;
    for (int number = 0; number <= 128; ++number) {
        controllers.push_back(controller(number));
        sources.push_back(name(kirra::sourceName, Slots::kSourceController0 + number, modules));
        EXPECT_TRUE(contains(sources.back(), controllers.back())) << sources.back();
    }
    expectOwnNames(controllers, outside);
    for (int source = 0; source < Slots::kSourceNone; ++source) {
        if (source == Slots::kSourceController0) source += 129;
        sources.push_back(name(kirra::sourceName, source, modules));
        shortSources.push_back(name(kirra::sourceShortName, source, modules));
    }
    expectOwnNames(sources, outside);
    expectOwnNames(shortSources, outside);
    // The LFO's slot is named by it.
    EXPECT_TRUE(contains(sources[129 + Slots::kSourceModulator1 + 1], "LFO"));
    EXPECT_TRUE(contains(shortSources[Slots::kSourceModulator1 + 1], "LFO"));
    EXPECT_FALSE(contains(sources[129 + Slots::kSourceModulator1], "LFO"));
    for (int destination = 0; destination < Slots::kDestinationNone; ++destination) {
        const std::string text = name(kirra::destinationName, destination, modules);
        // Positions no module uses all read as dashes.
        if (!contains(text, "---")) destinations.push_back(text);
    }
    expectOwnNames(destinations, outside);
    EXPECT_TRUE(contains(destinations[3], moduleParameterName(gain, 0)));
    for (int position = 0; position < kModulatorPositions; ++position) {
        if (!lfo.isParameterUsed(position)) continue;
        EXPECT_TRUE(contains(
            name(kirra::destinationName, Slots::kDestinationModulator + 38 + position, modules),
            moduleParameterName(lfo, position)));
    }
    // Nothing chosen, and numbers outside the lists.
    for (NameFunction function : {kirra::sourceName, kirra::sourceShortName}) {
        EXPECT_EQ(name(function, Slots::kSourceNone, modules), "");
        EXPECT_EQ(name(function, Slots::kSources, modules), outside);
        EXPECT_EQ(name(function, -1, modules), outside);
    }
    EXPECT_EQ(name(kirra::destinationName, Slots::kDestinationNone, modules), "");
    EXPECT_EQ(name(kirra::destinationName, Slots::kDestinations, modules), outside);
}
