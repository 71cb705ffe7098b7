#include "operators/OperatorTexts.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/ModuleTexts.h"

namespace operator_tests {

void expectIdentity(const kirra::Operator& op, const char* name, int parameters,
                    std::initializer_list<int> destinations) {
    kirra::ModuleText text;
    op.getName(text);
    EXPECT_STREQ(text, name);
    EXPECT_EQ(op.getNumParameters(), parameters);
    for (int position = 0; position < kirra::Operator::kPositions; ++position) {
        const bool listed =
            std::find(destinations.begin(), destinations.end(), position) != destinations.end();
        EXPECT_EQ(op.isParameterUsed(position), listed) << name << " " << position;
    }
}

void expectDisplays(const kirra::Operator& op, std::initializer_list<DisplayCase> cases) {
    for (const DisplayCase& expected : cases)
        EXPECT_EQ(testing_support::moduleDisplay(op, expected.position), expected.display)
            << expected.position;
}

void expectTexts(kirra::Operator& op, std::initializer_list<TextCase> cases) {
    kirra::ModuleText text;
    for (const TextCase& expected : cases) {
        op.setParameter(expected.position, expected.value);
        if (expected.display != nullptr) {
            op.getParameterDisplay(expected.position, text);
            EXPECT_STREQ(text, expected.display) << expected.position << " at " << expected.value;
        }
        if (expected.editor != nullptr) {
            op.getEditorText(expected.position, expected.value, text);
            EXPECT_STREQ(text, expected.editor) << expected.position << " at " << expected.value;
        }
    }
}

void expectEntries(const kirra::Operator& op, std::initializer_list<EntryCase> cases) {
    for (const EntryCase& entry : cases) {
        EXPECT_NEAR(op.textToValue(entry.position, entry.typed, 0.3f), entry.value, 1e-6f)
            << entry.position << " \"" << entry.typed << "\"";
    }
}

}  // namespace operator_tests
