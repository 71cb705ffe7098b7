#include "operators/filters/FilterPair.h"

namespace kirra {

FilterPair::FilterPair(OperatorType type, int slot, ModuleOwner* owner,
                       const PositionDescriptor* table, int tableSize, int typeCount)
    : Operator(type, slot, owner, table, tableSize), typeCount_(typeCount) {}

int FilterPair::typeOf(int filter) const {
    return typeOf(*this, filter, typeCount_);
}

int FilterPair::typeOf(const Module& module, int filter, int typeCount) {
    return valueToIndex(module.getBaseValue(kPositionsPerFilter * filter + kTypeA), typeCount);
}

}  // namespace kirra
