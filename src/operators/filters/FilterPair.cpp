#include "operators/filters/FilterPair.h"

#include "operators/filters/FilterText.h"

namespace kirra {

FilterPair::FilterPair(int slot, ModuleOwner* owner, const ParameterInfo* table, int tableSize,
                       const char* const* typeNames, int typeCount)
    : Operator(slot, owner, table, tableSize), typeNames_(typeNames), typeCount_(typeCount) {}

bool FilterPair::isParameterUsed(int position) const {
    return Operator::isParameterUsed(position) && !isType(position);
}

int FilterPair::typeOf(int filter) const {
    return valueToIndex(base_[kPositionsPerFilter * filter + kTypeA], typeCount_);
}

void FilterPair::formatDisplay(int position, float value, ModuleText& text) const {
    if (isFrequency(position)) {
        frequencyDisplay(value, text);
    } else if (isType(position)) {
        choiceText(value, typeNames_, typeCount_, text);
    } else if (position == kMorph) {
        morphDisplay(value, text);
    } else {
        formatOwnDisplay(position, value, text);
    }
}

void FilterPair::getEditorText(int position, float value, ModuleText& text) const {
    if (!Operator::isParameterUsed(position)) {
        Operator::getEditorText(position, value, text);
    } else if (isFrequency(position)) {
        frequencyEditorText(value, text);
    } else if (isType(position)) {
        choiceText(value, typeNames_, typeCount_, text);
    } else if (position == kMorph) {
        morphEditorText(value, text);
    } else {
        ownEditorText(position, value, text);
    }
}

float FilterPair::textToValue(int position, const char* text, float currentValue) const {
    if (!Operator::isParameterUsed(position)) return currentValue;
    if (isFrequency(position)) return frequencyFromText(text, currentValue);
    if (isType(position)) return choiceFromText(text, typeNames_, typeCount_, currentValue);
    if (position == kMorph) return percentFromText(text, currentValue);
    return ownTextToValue(position, text, currentValue);
}

}  // namespace kirra
