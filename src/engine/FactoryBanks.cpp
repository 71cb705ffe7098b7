#include "engine/FactoryBanks.h"

#include <algorithm>
#include <iterator>

#include "engine/ProgramStore.h"

namespace kirra {

// The tables themselves, in FactoryBankData.cpp.
extern const FactoryBank kFactoryBanks[kFactoryBankCount];

const FactoryBank& factoryBank(int bank) {
    return kFactoryBanks[std::clamp(bank, 0, kFactoryBankCount - 1)];
}

void loadFactoryBank(int bank, Program* programs) {
    const FactoryBank& source = factoryBank(bank);
    for (int p = 0; p < FactoryBank::kPrograms; ++p) {
        programs[p].setName(source.names[p]);
        std::copy(std::begin(source.values[p]), std::end(source.values[p]),
                  std::begin(programs[p].values));
    }
}

}  // namespace kirra
