#include "editor/panels/PanelFactory.h"

#include <iterator>

#include "editor/panels/ADSRPanel.h"
#include "editor/panels/CompExpPanel.h"
#include "editor/panels/ControlsPanel.h"
#include "editor/panels/DelayLinePanel.h"
#include "editor/panels/DistortionPanel.h"
#include "editor/panels/ENVPanel.h"
#include "editor/panels/EQPanel.h"
#include "editor/panels/FilterPanel.h"
#include "editor/panels/LFOPanel.h"
#include "editor/panels/Reverb2Panel.h"
#include "editor/panels/STEPPanel.h"
#include "editor/plots/CFilterPlot.h"
#include "engine/Plugin.h"
#include "modules/ModuleCatalogue.h"
#include "operators/effects/LoFi.h"
#include "operators/effects/Pitch.h"
#include "operators/filters/Biquad.h"
#include "operators/filters/Comb.h"
#include "operators/filters/FilterPair.h"
#include "operators/filters/Formant.h"
#include "operators/filters/Phaser.h"
#include "operators/filters/SVF.h"

namespace kirra::editor {

namespace {

using Rect = gui::Rect;
constexpr int kFull = ModulePanel::kFullWidth;

// The panels that are a table of controls and nothing of their own: {position, column, row,
// states, available}.

// Biquad and SVF: filter A on the left, filter B on the right, the morph under them.
constexpr int kFilterTypes = Biquad::kTypeCount;
static_assert(SVF::kTypeCount == kFilterTypes);
constexpr PanelControl kFilterPairControls[] = {
    {FilterPair::kFreqA, 0, 0, 0, 0},
    {FilterPair::kKnobA, 0, 1, 0, 0},
    {FilterPair::kTypeA, 0, 2, kFilterTypes, 0},
    {FilterPair::kFreqB, 1, 0, 0, 0},
    {FilterPair::kKnobB, 1, 1, 0, 0},
    {FilterPair::kTypeB, 1, 2, kFilterTypes, 0},
    {FilterPair::kMorph, 0, 3, 0, 0},
};
constexpr PanelControl kMoogControls[] = {
    {0, 0, 0, 0, 0},  // cutoff
    {1, 1, 0, 0, 0},  // emphasis
};
constexpr PanelControl kCombControls[] = {
    {0, 0, 0, 0, 0},                              // frequency
    {1, 1, 0, 0, 0},                              // depth
    {2, kFull, 1, Comb::kStructureCount, 0},      // feedback or feed-forward
    {3, kFull, 2, Comb::kInterpolationCount, 0},  // interpolation
};
constexpr PanelControl kPhaserControls[] = {
    {0, kFull, 0, 0, 0},                     // the all-pass coefficient ("feedback")
    {1, kFull, 1, 0, 0},                     // overall feedback
    {2, kFull, 2, 0, 0},                     // depth
    {3, kFull, 3, Phaser::kMaxSections, 0},  // sections
};
constexpr PanelControl kFormantControls[] = {
    {0, 0, 0, 0, 0},                 // morph
    {1, 0, 1, Formant::kVowels, 0},  // vowel A
    {2, 1, 1, Formant::kVowels, 0},  // vowel B
};
constexpr int kResolutions = 3;
constexpr PanelControl kPitchControls[] = {
    {Pitch::kSemitones, 0, 0, 0, 0},
    {Pitch::kCents, 1, 0, 0, 0},
    {Pitch::kTune, 0, 1, 0, 0},
    {Pitch::kResolution, 1, 1, kResolutions, 0},
};
constexpr PanelControl kLoFiControls[] = {
    {LoFi::kBits, kFull, 0, 0, 0},
    {LoFi::kHoldRate, kFull, 1, 0, 0},
};
constexpr PanelControl kGainControls[] = {
    {0, kFull, 0, 0, 0},  // attenuation
};
constexpr PanelControl kStereoControls[] = {
    {0, kFull, 0, 0, 0},  // balance
    {1, kFull, 1, 0, 0},  // width
};
constexpr PanelControl kPannerControls[] = {
    {0, kFull, 0, 0, 0},  // pan L
    {1, kFull, 1, 0, 0},  // pan R
};
constexpr PanelControl kPhaseInvControls[] = {
    {0, kFull, 0, 2, 0},  // phase: positive, negative
};
constexpr PanelControl kSideMixControls[] = {
    {0, kFull, 0, 0, 0},  // main-side mix
};
constexpr PanelControl kRectifierControls[] = {
    {0, kFull, 0, 2, 0},  // rectify: off, on
};

template <typename Plot, size_t Count>
std::unique_ptr<ModulePanel> filterPanel(const Rect& rect, const PanelContext& context, int type,
                                         const PanelControl (&controls)[Count]) {
    return FilterPanel::withControls<Plot>(rect, context, type, controls, static_cast<int>(Count));
}

template <size_t Count>
std::unique_ptr<ModulePanel> controlsPanel(const Rect& rect, const PanelContext& context, int type,
                                           const PanelControl (&controls)[Count]) {
    return std::make_unique<ControlsPanel>(rect, context, type, controls, static_cast<int>(Count));
}

std::unique_ptr<ModulePanel> operatorPanel(const Rect& rect, const PanelContext& context,
                                           int type) {
    switch (type) {
        case kBiquad:
            return filterPanel<CBiquadPlot>(rect, context, type, kFilterPairControls);
        case kSVF:
            return filterPanel<CSVFPlot>(rect, context, type, kFilterPairControls);
        case kMoog:
            return filterPanel<CMoogPlot>(rect, context, type, kMoogControls);
        case kComb:
            return filterPanel<CCombPlot>(rect, context, type, kCombControls);
        case kEQ:
            return std::make_unique<EQPanel>(rect, context, type);
        case kPhaser:
            return filterPanel<CPhaserPlot>(rect, context, type, kPhaserControls);
        case kLoFi:
            return controlsPanel(rect, context, type, kLoFiControls);
        case kDelayLine:
            return std::make_unique<DelayLinePanel>(rect, context, type);
        case kDistortion:
            return std::make_unique<DistortionPanel>(rect, context, type);
        case kCompExp:
            return std::make_unique<CompExpPanel>(rect, context, type);
        case kReverb2:
            return std::make_unique<Reverb2Panel>(rect, context, type);
        case kPitch:
            return controlsPanel(rect, context, type, kPitchControls);
        case kStereo:
            return controlsPanel(rect, context, type, kStereoControls);
        case kPanner:
            return controlsPanel(rect, context, type, kPannerControls);
        case kPhaseInv:
            return controlsPanel(rect, context, type, kPhaseInvControls);
        case kSideMix:
            return controlsPanel(rect, context, type, kSideMixControls);
        case kRectifier:
            return controlsPanel(rect, context, type, kRectifierControls);
        case kFormant:
            return filterPanel<CFormantPlot>(rect, context, type, kFormantControls);
        // Types beyond the catalogue hold a Gain.
        default:
            return controlsPanel(rect, context, type, kGainControls);
    }
}

std::unique_ptr<ModulePanel> modulatorPanel(const Rect& rect, const PanelContext& context,
                                            int type) {
    switch (type) {
        case kLFO:
            return std::make_unique<LFOPanel>(rect, context, type);
        case kENV:
            return std::make_unique<ENVPanel>(rect, context, type);
        case kADSR:
            return std::make_unique<ADSRPanel>(rect, context, type);
        case kSTEP:
            return std::make_unique<STEPPanel>(rect, context, type);
        // The empty modulator, also for types beyond the catalogue.
        default:
            return std::make_unique<ModulePanel>(rect, context, type);
    }
}

}  // namespace

std::unique_ptr<ModulePanel> createModulePanel(const gui::Rect& rect, const PanelContext& context) {
    Plugin& plugin = context.plugin;
    int type = 0;
    {
        // Written by module replacement, under the same lock.
        platform::EngineLock lock(plugin.getEngineMutex());
        type = context.kind == SlotKind::kOperator ? plugin.getOperatorType(context.slot)
                                                   : plugin.getModulatorType(context.slot);
    }
    std::unique_ptr<ModulePanel> panel = context.kind == SlotKind::kOperator
                                             ? operatorPanel(rect, context, type)
                                             : modulatorPanel(rect, context, type);
    panel->idle();
    return panel;
}

}  // namespace kirra::editor
