// The catalogue and the texts of every module type as the host and the editor read them: "---"
// where a position does not exist, and an editor text typed back in stands for the value it was
// shown for. These hold for every type, so a new module gets them for free.

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "modules/ModuleCatalogue.h"
#include "support/ModuleTexts.h"

using namespace kirra;
using namespace testing_support;

namespace {

std::string nameOf(const Module& module) {
    ModuleText text;
    module.getName(text);
    return text;
}

}  // namespace

// (Type numbers beyond a catalogue, and texts that fit and are printable for every module in
// every slot, are parameter table and parameter description tests.)
TEST(ModuleTexts, CatalogueNamesAreUniqueAndAligned) {
    std::set<std::string> names;
    const size_t lineLength = std::strlen(operatorCatalogue(0).text);
    const auto modules = everyModuleType();
    for (size_t type = 0; type < modules.size(); ++type) {
        const std::string name = nameOf(*modules[type]);
        const int own = static_cast<int>(type) - kOperatorTypeCount;
        const char* line =
            own < 0 ? operatorCatalogue(static_cast<int>(type)).text : modulatorCatalogue(own).text;
        EXPECT_TRUE(names.insert(name).second) << name;
        // The picker's list shows the lines as one column.
        EXPECT_EQ(std::strlen(line), lineLength) << name;
        EXPECT_EQ(std::string(line).rfind(name.substr(0, 4), 0), 0u) << name;
    }
}

TEST(ModuleTexts, MissingPositionsHaveNoTexts) {
    for (const auto& typed : everyModuleType()) {
        const Module& module = *typed;
        for (int position = module.getNumParameters(); position < Module::kMaxPositions;
             ++position) {
            const std::string display = moduleDisplay(module, position);
            EXPECT_EQ(moduleParameterName(module, position), "---") << nameOf(module) << position;
            EXPECT_TRUE(display == "---" || display.empty()) << nameOf(module) << position;
            EXPECT_FALSE(module.isParameterUsed(position)) << nameOf(module) << position;
        }
    }
}

// Shown texts are rounded, so what they read back as shows the same text or lies within a
// rounding of the value; a wrong unit, scale, sign or state is far more. Near the ends a shown
// text may lie beyond what can be typed (a gain below -100 dB, a level rounded to "-0dB") and
// reads as the end. Every position is swept with the others at their defaults and at both ends,
// so texts that follow a mode or a shape are swept in each.
TEST(ModuleTexts, ATypedEditorTextReadsBackAsTheValueItWasShownFor) {
    constexpr int kSteps = 64;
    for (const auto& typed : everyModuleType()) {
        Module& module = *typed;
        for (float others : {-1.0f, 0.0f, 1.0f}) {
            for (int position = 0; position < module.getNumParameters(); ++position)
                module.setParameter(position,
                                    others < 0.0f ? module.getDefaultValue(position) : others);
            for (int position = 0; position < module.getNumParameters(); ++position) {
                const float kept = module.getBaseValue(position);
                for (int step = 0; step <= kSteps; ++step) {
                    const float value = static_cast<float>(step) / kSteps;
                    module.setParameter(position, value);
                    const std::string shown = moduleEditorText(module, position, value);
                    if (shown.empty() || shown == "---") continue;
                    const float read = module.textToValue(position, shown.c_str(), 0.5f);
                    if (moduleEditorText(module, position, read) == shown) continue;
                    const bool atAnEnd = read == 0.0f || read == 1.0f;
                    EXPECT_NEAR(read, value, atAnEnd ? 1.0f / kSteps : 0.002f)
                        << nameOf(module) << " position " << position << " \"" << shown << "\"";
                }
                module.setParameter(position, kept);
            }
        }
    }
}

TEST(ModuleTexts, TypedNumbersFarOutsideTheRangeGiveValuesInsideIt) {
    for (const auto& typed : everyModuleType()) {
        const Module& module = *typed;
        for (int position = 0; position < module.getNumParameters(); ++position) {
            for (const char* text :
                 {"-1e38", "1e38", "nan", "inf", "", "-oo", "oo", "99999k", ":"}) {
                const float value = module.textToValue(position, text, 0.3f);
                // Within a float rounding of the ends: the engine clamps what it stores.
                EXPECT_TRUE(value >= -1e-6f && value <= 1.0f + 1e-6f)
                    << nameOf(module) << " position " << position << " \"" << text << "\" "
                    << value;
            }
        }
    }
}
