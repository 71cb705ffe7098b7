#include "operators/effects/BalanceText.h"

#include <cctype>
#include <cstring>

namespace kirra {

namespace {

void sideText(float value, ModuleText& text, const char* centre, const char* leftFormat,
              const char* rightFormat) {
    if (static_cast<int>(200.0f * value + 0.5f) == 100) {
        setText(text, centre);
    } else if (value < 0.5f) {
        formatText(text, sizeof(ModuleText), leftFormat, (0.5f - value) * 200.0f);
    } else {
        formatText(text, sizeof(ModuleText), rightFormat, (value - 0.5f) * 200.0f);
    }
}

}  // namespace

void balanceDisplay(float value, ModuleText& text) {
    sideText(value, text, "C", "L:%.0f", "R:%.0f");
}

void balanceEditorText(float value, ModuleText& text) {
    sideText(value, text, "CENTER", "LEFT:%.0f", "RIGHT:%.0f");
}

float balanceFromText(const char* text) {
    if (text == nullptr || text[0] == 0) return 0.5f;
    int side = std::toupper(static_cast<unsigned char>(text[0]));
    if (side != 'L' && side != 'R') return 0.5f;
    float amount = 0.0f;
    const char* colon = std::strchr(text, ':');
    if (!parseNumber(colon != nullptr ? colon + 1 : text + 1, amount)) amount = 0.0f;
    amount = amount < 0.0f ? 0.0f : (amount > 100.0f ? 100.0f : amount);
    return side == 'L' ? 0.5f - amount / 200.0f : 0.5f + amount / 200.0f;
}

}  // namespace kirra
