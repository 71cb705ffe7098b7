#include "engine/EditHistory.h"

#include "engine/ABCompare.h"
#include "engine/ParameterDescription.h"
#include "engine/Plugin.h"

namespace kirra {

using namespace param;

namespace {

// The type parameter of an operator (0..3) or modulator (4..7) slot.
int typeIndexOf(int typedSlot) {
    return typedSlot < kSlotCount ? kOperatorType1 + typedSlot
                                  : kModulatorType1 + typedSlot - kSlotCount;
}

int typeOf(float value, int typedSlot) {
    return valueToIndex(value, describeParameter(typeIndexOf(typedSlot)).states);
}

// The slot whose module type gives a value its meaning, or -1 for values of the instance.
int typedSlotOf(int index) {
    const int member = parameterMember(index);
    switch (parameterGroup(index)) {
        case ParameterGroup::kOperatorType:
            return member;
        case ParameterGroup::kOperatorPosition:
            return member / kOperatorPositions;
        case ParameterGroup::kModulatorType:
            return kSlotCount + member;
        case ParameterGroup::kModulatorPosition:
            return kSlotCount + member / kModulatorPositions;
        default:
            return -1;
    }
}

bool isType(int index) {
    const ParameterGroup group = parameterGroup(index);
    return group == ParameterGroup::kOperatorType || group == ParameterGroup::kModulatorType;
}

// A module replaced in a slot takes its defaults and frees the modulation destinations that
// pointed at the old one: the step keeps every such value so both ways restore them.
bool followsTypeChange(int index, const bool typeChanged[EditHistory::kTypedSlots]) {
    if (parameterGroup(index) == ParameterGroup::kSlotDestination) {
        for (int slot = 0; slot < EditHistory::kTypedSlots; ++slot)
            if (typeChanged[slot]) return true;
        return false;
    }
    const int slot = typedSlotOf(index);
    return slot >= 0 && typeChanged[slot];
}

}  // namespace

EditHistory::Values EditHistory::readProgram() const {
    Values values(kProgramParameterCount + 1);
    platform::EngineLock lock(plugin_.getEngineMutex());
    for (int index = 0; index < kProgramParameterCount; ++index)
        values[index] = plugin_.getParameter(index);
    const ProgramStore& programs = plugin_.getPrograms();
    values[kProgramParameterCount] = static_cast<float>(
        programs.getCurrentBank() * ProgramStore::kPrograms + programs.getCurrentPreset());
    return values;
}

void EditHistory::beginGesture() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (depth_++ == 0) gestureStart_ = readProgram();
}

void EditHistory::endGesture() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (depth_ == 0) return;
    if (--depth_ == 0) record(gestureStart_, readProgram());
}

void EditHistory::record(const Values& before, const Values& after) {
    Step step;
    bool typeChanged[kTypedSlots] = {};
    for (int slot = 0; slot < kTypedSlots; ++slot) {
        const int index = typeIndexOf(slot);
        step.typesBefore[slot] = typeOf(before[index], slot);
        step.typesAfter[slot] = typeOf(after[index], slot);
        typeChanged[slot] = step.typesBefore[slot] != step.typesAfter[slot];
    }
    for (int index = 0; index < kProgramParameterCount; ++index) {
        if (before[index] != after[index] || followsTypeChange(index, typeChanged))
            step.changes.push_back({index, before[index], after[index]});
    }
    step.programBefore = static_cast<int>(before[kProgramParameterCount]);
    step.programAfter = static_cast<int>(after[kProgramParameterCount]);
    if (!step.changes.empty() || step.programBefore != step.programAfter) push(std::move(step));
}

void EditHistory::push(Step step) {
    undo_.push_back(std::move(step));
    if (static_cast<int>(undo_.size()) > kMaxSteps) undo_.pop_front();
    redo_.clear();
}

void EditHistory::recordSwap() {
    std::lock_guard<std::mutex> lock(mutex_);
    Step step;
    step.swap = true;
    push(std::move(step));
}

void EditHistory::apply(const Step& step, bool forward) {
    if (step.swap) {
        plugin_.getABCompare().swap();
        return;
    }
    std::vector<Change> written;
    {
        platform::EngineLock lock(plugin_.getEngineMutex());
        applyLocked(step, forward, written);
    }
    // The host hears of its parameters as of any edit, outside the engine lock as the editor
    // tells it.
    for (const Change& change : written)
        if (describeParameter(change.index).isHostParameter())
            plugin_.setParameterAutomated(change.index, forward ? change.after : change.before);
}

void EditHistory::applyLocked(const Step& step, bool forward, std::vector<Change>& written) {
    // A load is undone by going back to the program it left, whose values stay its own.
    const int program = forward ? step.programAfter : step.programBefore;
    ProgramStore& programs = plugin_.getPrograms();
    if (step.programBefore != step.programAfter &&
        programs.getCurrentBank() * ProgramStore::kPrograms + programs.getCurrentPreset() !=
            program) {
        programs.setCurrentBank(program / ProgramStore::kPrograms);
        plugin_.selectProgram(program % ProgramStore::kPrograms);
    }
    // Slots that hold another type than the step left them with are not touched.
    bool matches[kTypedSlots];
    for (int slot = 0; slot < kTypedSlots; ++slot) {
        const int expected = forward ? step.typesBefore[slot] : step.typesAfter[slot];
        matches[slot] = typeOf(plugin_.getParameter(typeIndexOf(slot)), slot) == expected;
    }
    auto write = [&](const Change& change) {
        const int slot = typedSlotOf(change.index);
        if (slot >= 0 && !matches[slot]) return;
        plugin_.setParameter(change.index, forward ? change.after : change.before);
        written.push_back(change);
    };
    // Types first: a replaced module takes its defaults, which the step's values then replace.
    for (const Change& change : step.changes)
        if (isType(change.index)) write(change);
    for (const Change& change : step.changes)
        if (!isType(change.index)) write(change);
}

bool EditHistory::canUndo() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return !undo_.empty();
}

bool EditHistory::canRedo() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return !redo_.empty();
}

int EditHistory::undoSteps() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<int>(undo_.size());
}

bool EditHistory::undo() {
    return move(undo_, redo_, false);
}

bool EditHistory::redo() {
    return move(redo_, undo_, true);
}

bool EditHistory::move(std::deque<Step>& from, std::deque<Step>& to, bool forward) {
    std::lock_guard<std::mutex> lock(mutex_);
    // Not in the middle of a gesture: its end would record the undo as an edit.
    if (from.empty() || depth_ > 0) return false;
    apply(from.back(), forward);
    to.push_back(std::move(from.back()));
    from.pop_back();
    return true;
}

void EditHistory::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    undo_.clear();
    redo_.clear();
}

}  // namespace kirra
