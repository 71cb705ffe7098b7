#pragma once
// Names, labels and display texts of the engine's own parameters (everything that is not a
// module position, a type or a modulation source or destination, which need the modules).

#include "modules/ModuleText.h"

namespace kirra {

// What a display text depends on besides the parameter's own value.
struct DisplayContext {
    float sampleRate = 44100.0f;
    int tempoSyncState = 1;
    int dryDelaySamples = 0;
};

void engineParameterName(int index, ModuleText& text);
void engineParameterLabel(int index, ModuleText& text);
void engineParameterDisplay(int index, float value, const DisplayContext& context,
                            ModuleText& text);

// The host interface's way of printing a float: as many decimals as fit in 8 characters
// (100 gives "100.0000", 50 gives "50.00000").
void hostFloatText(float value, ModuleText& text);

// Gain law of Input and Output: 0.5 is unity, 1.0 is +12 dB.
float levelGain(float value);

}  // namespace kirra
