#include "modulators/ModulatorMath.h"

namespace kirra {

void percentText(ModuleText& text, float value, bool withSign) {
    formatText(text, withSign ? "%.1f%%" : "%.1f", 100.0f * value);
}

}  // namespace kirra
