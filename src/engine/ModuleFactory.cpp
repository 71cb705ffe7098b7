#include "engine/ModuleFactory.h"

#include "modulators/ADSR.h"
#include "modulators/ENV.h"
#include "modulators/LFO.h"
#include "modulators/STEP.h"
#include "modules/Empty.h"
#include "modules/ModuleCatalogue.h"
#include "operators/effects/CompExp.h"
#include "operators/effects/DelayLine.h"
#include "operators/effects/Distortion.h"
#include "operators/effects/Gain.h"
#include "operators/effects/LoFi.h"
#include "operators/effects/Panner.h"
#include "operators/effects/PhaseInv.h"
#include "operators/effects/Pitch.h"
#include "operators/effects/Rectifier.h"
#include "operators/effects/Reverb2.h"
#include "operators/effects/SideMix.h"
#include "operators/effects/Stereo.h"
#include "operators/filters/Biquad.h"
#include "operators/filters/Comb.h"
#include "operators/filters/EQ.h"
#include "operators/filters/Formant.h"
#include "operators/filters/Moog.h"
#include "operators/filters/Phaser.h"
#include "operators/filters/SVF.h"

namespace kirra {

std::unique_ptr<Operator> createOperator(int type, int slot, ModuleOwner* owner) {
    switch (type) {
        case kBiquad:
            return std::make_unique<Biquad>(slot, owner);
        case kSVF:
            return std::make_unique<SVF>(slot, owner);
        case kMoog:
            return std::make_unique<Moog>(slot, owner);
        case kComb:
            return std::make_unique<Comb>(slot, owner);
        case kEQ:
            return std::make_unique<EQ>(slot, owner);
        case kPhaser:
            return std::make_unique<Phaser>(slot, owner);
        case kFormant:
            return std::make_unique<Formant>(slot, owner);
        case kLoFi:
            return std::make_unique<LoFi>(slot, owner);
        case kDelayLine:
            return std::make_unique<DelayLine>(slot, owner);
        case kDistortion:
            return std::make_unique<Distortion>(slot, owner);
        case kCompExp:
            return std::make_unique<CompExp>(slot, owner);
        case kReverb2:
            return std::make_unique<Reverb2>(slot, owner);
        case kPitch:
            return std::make_unique<Pitch>(slot, owner);
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
        case kLFO:
            return std::make_unique<LFO>(slot, owner);
        case kENV:
            return std::make_unique<ENV>(slot, owner);
        case kADSR:
            return std::make_unique<ADSR>(slot, owner);
        case kSTEP:
            return std::make_unique<STEP>(slot, owner);
        default:
            return std::make_unique<Empty>(slot, owner);
    }
}

}  // namespace kirra
