#include "engine/MidiLearn.h"

#include "engine/ParameterIndex.h"

namespace kirra {

namespace {
constexpr int kKnobControls = param::kKnobCount;
constexpr int kHighestController = 127;
}  // namespace

MidiLearn::MidiLearn() {
    for (auto& controller : learned_)
        controller.store(kNone, std::memory_order_relaxed);
}

void MidiLearn::setState(int state) {
    if (state >= kIdle && state < kStateCount) state_.store(state, std::memory_order_relaxed);
}

int MidiLearn::getLearnedController(int control) const {
    if (control < 0 || control >= kControls) return kNone;
    return learned_[control].load(std::memory_order_relaxed);
}

void MidiLearn::setLearnedController(int control, int controller) {
    if (control < 0 || control >= kControls) return;
    bool valid = controller >= 0 && controller <= kHighestController;
    learned_[control].store(valid ? controller : kNone, std::memory_order_relaxed);
}

void MidiLearn::controllerReceived(int controller) {
    int state = state_.exchange(kIdle, std::memory_order_relaxed);
    if (state >= kLearnKnob1) setLearnedController(state - kLearnKnob1, controller);
}

int MidiLearn::controlParameter(int control) {
    if (control < 0 || control >= kControls) return -1;
    if (control < kKnobControls) return param::kKnob1 + control;
    return param::kInput + (control - kKnobControls);
}

int MidiLearn::learnStateOf(int parameter) {
    for (int control = 0; control < kControls; ++control) {
        if (controlParameter(control) == parameter) return kLearnKnob1 + control;
    }
    return kIdle;
}

}  // namespace kirra
