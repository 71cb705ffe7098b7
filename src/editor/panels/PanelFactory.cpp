#include "editor/panels/PanelFactory.h"

#include "editor/panels/ADSRPanel.h"
#include "editor/panels/BiquadPanel.h"
#include "editor/panels/CombPanel.h"
#include "editor/panels/CompExpPanel.h"
#include "editor/panels/DelayLinePanel.h"
#include "editor/panels/DistortionPanel.h"
#include "editor/panels/ENVPanel.h"
#include "editor/panels/EQPanel.h"
#include "editor/panels/FormantPanel.h"
#include "editor/panels/GainPanel.h"
#include "editor/panels/LFOPanel.h"
#include "editor/panels/LoFiPanel.h"
#include "editor/panels/MoogPanel.h"
#include "editor/panels/PannerPanel.h"
#include "editor/panels/PhaseInvPanel.h"
#include "editor/panels/PhaserPanel.h"
#include "editor/panels/PitchPanel.h"
#include "editor/panels/RectifierPanel.h"
#include "editor/panels/Reverb2Panel.h"
#include "editor/panels/STEPPanel.h"
#include "editor/panels/SVFPanel.h"
#include "editor/panels/SideMixPanel.h"
#include "editor/panels/StereoPanel.h"
#include "engine/Plugin.h"
#include "modules/ModuleCatalogue.h"

namespace kirra::editor {

namespace {

using Rect = gui::Rect;

std::unique_ptr<ModulePanel> operatorPanel(const Rect& rect, const PanelContext& context,
                                           int type) {
    switch (type) {
        case kBiquad:
            return std::make_unique<BiquadPanel>(rect, context, type);
        case kSVF:
            return std::make_unique<SVFPanel>(rect, context, type);
        case kMoog:
            return std::make_unique<MoogPanel>(rect, context, type);
        case kComb:
            return std::make_unique<CombPanel>(rect, context, type);
        case kEQ:
            return std::make_unique<EQPanel>(rect, context, type);
        case kPhaser:
            return std::make_unique<PhaserPanel>(rect, context, type);
        case kLoFi:
            return std::make_unique<LoFiPanel>(rect, context, type);
        case kDelayLine:
            return std::make_unique<DelayLinePanel>(rect, context, type);
        case kDistortion:
            return std::make_unique<DistortionPanel>(rect, context, type);
        case kCompExp:
            return std::make_unique<CompExpPanel>(rect, context, type);
        case kReverb2:
            return std::make_unique<Reverb2Panel>(rect, context, type);
        case kPitch:
            return std::make_unique<PitchPanel>(rect, context, type);
        case kStereo:
            return std::make_unique<StereoPanel>(rect, context, type);
        case kPanner:
            return std::make_unique<PannerPanel>(rect, context, type);
        case kPhaseInv:
            return std::make_unique<PhaseInvPanel>(rect, context, type);
        case kSideMix:
            return std::make_unique<SideMixPanel>(rect, context, type);
        case kRectifier:
            return std::make_unique<RectifierPanel>(rect, context, type);
        case kFormant:
            return std::make_unique<FormantPanel>(rect, context, type);
        // Types beyond the catalogue hold a Gain.
        default:
            return std::make_unique<GainPanel>(rect, context, type);
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
