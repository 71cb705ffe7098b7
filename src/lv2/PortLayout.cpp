#include "lv2/PortLayout.h"

#include <cctype>

#include "engine/FactoryBanks.h"
#include "engine/ParameterDescription.h"
#include "modules/ModuleMath.h"

namespace kirra::lv2 {

namespace {

// A position's slot and number within the slot, counted from 1.
struct SlotPosition {
    const char* prefix;  // "op" or "mod"
    int slot;
    int position;
};

bool slotPosition(int index, SlotPosition& where) {
    const ParameterDescriptor& row = describeParameter(index);
    const int member = index - row.first;
    if (row.group == ParameterGroup::kOperatorPosition) {
        where = {"op", member / param::kOperatorPositions + 1,
                 member % param::kOperatorPositions + 1};
        return true;
    }
    if (row.group == ParameterGroup::kModulatorPosition) {
        where = {"mod", member / param::kModulatorPositions + 1,
                 member % param::kModulatorPositions + 1};
        return true;
    }
    return false;
}

int spareNumber(int index) {
    return index - describeParameter(index).first + 1;
}

std::string hostName(int index) {
    ModuleText text = "";
    parameterName(index, ParameterContext{}, text);
    return text;
}

}  // namespace

float publishedDefault(int index) {
    if (index < 0 || index >= param::kProgramParameterCount) return 0.0f;
    return sanitizeUnit(factoryBank(0).values[0][index]);
}

bool isHiddenParameter(int index) {
    return parameterGroup(index) == ParameterGroup::kSpare;
}

std::string parameterSymbol(int index) {
    SlotPosition where{};
    if (slotPosition(index, where)) {
        return where.prefix + std::to_string(where.slot) + "_p" + std::to_string(where.position);
    }
    if (isHiddenParameter(index)) return "spare" + std::to_string(spareNumber(index));
    // "OP1->OUT" becomes op1_out, "SLOT3 SENS" slot3_sens.
    std::string symbol;
    for (char c : hostName(index)) {
        if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
            symbol += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else if (!symbol.empty() && symbol.back() != '_') {
            symbol += '_';
        }
    }
    while (!symbol.empty() && symbol.back() == '_')
        symbol.pop_back();
    return symbol;
}

std::string parameterPortName(int index) {
    SlotPosition where{};
    if (slotPosition(index, where)) {
        std::string prefix = where.prefix[0] == 'o' ? "OP" : "MOD";
        return prefix + std::to_string(where.slot) + " position " + std::to_string(where.position);
    }
    if (isHiddenParameter(index)) return "Spare " + std::to_string(spareNumber(index));
    return hostName(index);
}

}  // namespace kirra::lv2
