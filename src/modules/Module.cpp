#include "modules/Module.h"

#include <cstdio>

#include "modules/SignalTaps.h"

namespace kirra {

namespace {
const float kSilentTaps[kTapCount] = {};
}

Module::Module(const char* name, int slot, ModuleOwner* owner, int positions,
               const PositionDescriptor* table, int tableSize)
    : tapsLeft_(kSilentTaps),
      tapsRight_(kSilentTaps),
      slot_(slot),
      owner_(owner),
      name_(name),
      positions_(positions),
      table_(table),
      tableSize_(tableSize) {
    if (tableSize_ > positions_) tableSize_ = positions_;
    for (int position = 0; position < tableSize_; ++position) {
        base_[position] = table_[position].defaultValue;
        left_[position] = right_[position] = base_[position];
    }
}

const PositionDescriptor* Module::describe(int position) const {
    if (position < 0 || position >= tableSize_ || table_[position].name == nullptr) return nullptr;
    return &table_[position];
}

void Module::resetModulation() {
    // Copies that no addition moved, of base values nobody stored since, already hold them.
    const unsigned stores = baseStores_.load(std::memory_order_acquire);
    if (!copiesMoved_ && stores == storesCopied_) return;
    copiesMoved_ = false;
    storesCopied_ = stores;
    for (int position = 0; position < positions_; ++position) {
        left_[position] = right_[position] = base_[position];
    }
}

void Module::addModulation(int position, float left, float right) {
    if (!isPosition(position)) return;
    copiesMoved_ = true;
    left_[position] += left;
    right_[position] += right;
}

void Module::clampModulation(int position) {
    if (!isPosition(position)) return;
    copiesMoved_ = true;
    left_[position] = clampUnit(left_[position]);
    right_[position] = clampUnit(right_[position]);
}

bool Module::isParameterUsed(int position) const {
    const PositionDescriptor* row = describe(position);
    return row != nullptr && row->modulatable;
}

void Module::setModulationPreview(int mode) {
    previewMode_ = mode;
    if (mode != 0) return;
    // Re-sending the base values makes open controls and plots show them again.
    for (int position = 0; position < positions_; ++position) {
        setParameter(position, base_[position]);
    }
}

void Module::setSampleRate(float sampleRate) {
    sampleRate_ = sampleRate;
    rampFactor_ = kRampFactor;
    resetModulation();
    updateParameters();
    snapToTargets();
}

void Module::setParameter(int position, float value) {
    if (!isPosition(position)) return;
    base_[position] = value;
    // Released after the store: a reset that reads the new count reads the new value.
    baseStores_.fetch_add(1, std::memory_order_release);
}

float Module::getDefaultValue(int position) const {
    // A position without a name may still start from a value of its own.
    return position >= 0 && position < tableSize_ ? table_[position].defaultValue : 0.0f;
}

void Module::getParameterName(int position, ModuleText& text) const {
    const PositionDescriptor* row = describe(position);
    setText(text, row != nullptr ? row->name : "---");
}

void Module::getParameterLabel(int position, ModuleText& text) const {
    const PositionDescriptor* row = describe(position);
    if (row != nullptr && row->dynamicLabel != nullptr) {
        row->dynamicLabel(*this, text);
    } else {
        setText(text, row != nullptr && row->label != nullptr ? row->label : "");
    }
}

void Module::getParameterDisplay(int position, ModuleText& text) const {
    const PositionDescriptor* row = describe(position);
    if (row == nullptr) {
        // A module without parameters (an empty slot) shows nothing at all.
        setText(text, tableSize_ == 0 ? "" : "---");
    } else {
        displayText(*row, base_[position], text);
    }
}

void Module::displayText(const PositionDescriptor& row, float value, ModuleText& text) const {
    if (row.display != nullptr) {
        row.display(*this, value, text);
    } else {
        formatText(text, "%.2f", value);
    }
}

void Module::getDestinationName(int position, ModuleText& text) const {
    getParameterName(position, text);
}

void Module::getCaption(int position, ModuleText& text) const {
    const PositionDescriptor* row = describe(position);
    setText(text, row != nullptr && row->caption != nullptr ? row->caption : "");
}

void Module::getEditorText(int position, float value, ModuleText& text) const {
    const PositionDescriptor* row = describe(position);
    if (row == nullptr) {
        setText(text, "---");
    } else if (row->editorText != nullptr) {
        row->editorText(*this, value, text);
    } else {
        displayText(*row, value, text);
    }
}

float Module::textToValue(int position, const char* text, float currentValue) const {
    const PositionDescriptor* row = describe(position);
    if (row == nullptr || text == nullptr) return currentValue;
    // Whatever a conversion's arithmetic gives at the ends, a value stays within 0..1.
    if (row->fromText != nullptr) return sanitizeUnit(row->fromText(*this, text, currentValue));
    float value;
    if (!parseNumber(text, value)) return currentValue;
    return sanitizeUnit(value);
}

float Module::getBaseValue(int position) const {
    return isPosition(position) ? base_[position].load() : 0.0f;
}

float Module::getModulatedValue(int position, int channel) const {
    if (!isPosition(position)) return 0.0f;
    return channel == 0 ? left_[position].load() : right_[position].load();
}

}  // namespace kirra
