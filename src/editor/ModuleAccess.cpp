#include "editor/ModuleAccess.h"

#include "engine/ParameterIndex.h"
#include "engine/Plugin.h"

namespace kirra::editor {

Module* ModuleAccess::module() {
    if (expectedType_ != kAnyType) {
        int type = kind_ == SlotKind::kOperator ? plugin_.getOperatorType(slot_)
                                                : plugin_.getModulatorType(slot_);
        if (type != expectedType_) return nullptr;
    }
    return kind_ == SlotKind::kOperator ? static_cast<Module*>(plugin_.getOperator(slot_))
                                        : plugin_.getModulator(slot_);
}

int ModuleAccess::parameterIndex(int position) const {
    return kind_ == SlotKind::kOperator ? param::operatorParameter(slot_, position)
                                        : param::modulatorParameter(slot_, position);
}

ModuleDescription ModuleAccess::describe() {
    ModuleDescription description;
    platform::EngineLock lock(plugin_.getEngineMutex());
    Module* current = module();
    if (current == nullptr) return description;
    ModuleText text = "";
    current->getName(text);
    description.name = text;
    for (int position = 0; position < current->getPositionCount(); ++position) {
        if (!current->isParameterUsed(position)) continue;
        current->getCaption(position, text);
        // Positions the module's own panel labels otherwise go by their parameter name.
        if (text[0] == 0) current->getParameterName(position, text);
        description.fields.push_back(
            {position, text, current->getBaseValue(position), current->getDefaultValue(position)});
    }
    return description;
}

bool ModuleAccess::read(const std::function<void(const Module&)>& reader) {
    platform::EngineLock lock(plugin_.getEngineMutex());
    const Module* current = module();
    if (current == nullptr) return false;
    reader(*current);
    return true;
}

void ModuleAccess::valueText(int position, float value, ModuleText& text) {
    platform::EngineLock lock(plugin_.getEngineMutex());
    Module* current = module();
    if (current == nullptr) {
        setText(text, "");
        return;
    }
    current->getEditorText(position, value, text);
}

float ModuleAccess::textToValue(int position, const char* text, float currentValue) {
    platform::EngineLock lock(plugin_.getEngineMutex());
    Module* current = module();
    return current != nullptr ? current->textToValue(position, text, currentValue) : currentValue;
}

void ModuleAccess::setEditing(bool editing) {
    platform::EngineLock lock(plugin_.getEngineMutex());
    if (Module* current = module()) current->setEditing(editing);
}

}  // namespace kirra::editor
