#include "engine/ModuleFactory.h"

#include "modules/Empty.h"
#include "modules/ModuleCatalogue.h"
#include "operators/effects/Gain.h"
#include "operators/effects/Panner.h"
#include "operators/effects/PhaseInv.h"
#include "operators/effects/Rectifier.h"
#include "operators/effects/SideMix.h"
#include "operators/effects/Stereo.h"

namespace kirra {

std::unique_ptr<Operator> createOperator(int type, int slot, ModuleOwner* owner) {
    switch (type) {
        case kStereo:
            return std::make_unique<Stereo>(slot, owner);
        case kPanner:
            return std::make_unique<Panner>(slot, owner);
        case kPhaseInv:
            return std::make_unique<PhaseInv>(slot, owner);
        case kSideMix:
            return std::make_unique<SideMix>(slot, owner);
        case kRectifier:
            return std::make_unique<Rectifier>(slot, owner);
        default:
            return std::make_unique<Gain>(slot, owner);
    }
}

std::unique_ptr<Modulator> createModulator(int type, int slot, ModuleOwner* owner) {
    switch (type) {
        default:
            return std::make_unique<Empty>(slot, owner);
    }
}

}  // namespace kirra
