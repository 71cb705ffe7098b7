// Stand-in factory banks for the program compiler itself, which builds the real ones: every
// program "[flat]", bank C with its titles.

#include "engine/FactoryBanks.h"
#include "engine/FlatProgram.h"

namespace kirra {

namespace {

constexpr const char* kBankANames[FactoryBank::kPrograms] = {
    "[flat]", "[flat]", "[flat]", "[flat]", "[flat]", "[flat]", "[flat]", "[flat]",
    "[flat]", "[flat]", "[flat]", "[flat]", "[flat]", "[flat]", "[flat]", "[flat]",
    "[flat]", "[flat]", "[flat]", "[flat]", "[flat]", "[flat]", "[flat]", "[flat]",
    "[flat]", "[flat]", "[flat]", "[flat]", "[flat]", "[flat]", "[flat]", "[flat]",
    "[flat]", "[flat]", "[flat]", "[flat]", "[flat]", "[flat]", "[flat]", "[flat]",
    "[flat]", "[flat]", "[flat]", "[flat]", "[flat]", "[flat]", "[flat]", "[flat]",
    "[flat]", "[flat]", "[flat]", "[flat]", "[flat]", "[flat]", "[flat]", "[flat]",
    "[flat]", "[flat]", "[flat]", "[flat]", "[flat]", "[flat]", "[flat]", "[flat]",
};

// Bank C: one program per effect it demonstrates.
constexpr const char* kBankCNames[FactoryBank::kPrograms] = {
    "E-Bow",
    "LP Filter 12/24dB LFO",
    "HP Filter 12/24dB LFO",
    "BP Filter 12/24dB LFO",
    "LP Filter 24/48dB ENV",
    "Moog Filter LFO & ENV",
    "LP-HP Morph Filter LFO",
    "LP-LP Morph Filter LFO",
    "Formant Morph Filter LFO",
    "Shelving EQ",
    "Peaking EQ",
    "Simple Flanger",
    "Quadra Flanger",
    "Simple Phaser",
    "Quadra Phaser",
    "Detuner",
    "Pitch Shifter",
    "Harmonizer",
    "Vibrato",
    "Hall Reverb",
    "Cathedral Reverb",
    "Room Reverb",
    "FX Reverb",
    "Tremolo",
    "Ultra Chorus",
    "Compressor",
    "Expander",
    "Keyed Gate",
    "Ducked Delay",
    "Twin Delay",
    "Bitcrusher / Decimator",
    "Distortion A",
    "Distortion B",
    "Stereo Balance / Width",
    "Channel Panner",
    "Hum Remover 50Hz",
    "Hum Remover 60Hz",
    "Detuned Delay",
    "Tape Delay",
    "Doubler",
    "Slapback",
    "Autofilter",
    "Subflanger",
    "El Cheapo",
    "Rotary Speaker Chorale",
    "Rotary Speaker Tremolo",
    "Graphic EQ",
    "Gated Reverb",
    "Reversed Reverb",
    "Grunger",
    "Drum Tweaker",
    "Quad Filter",
    "Crossover Gate",
    "Low-Pass Noise Gate",
    "Club Reverb",
    "Resonator",
    "Floating Comp",
    "Chroma Delay",
    "Morello Mod",
    "Morphing Decay",
    "Notch Filter Sweep",
    "Amp My Rhodes",
    "Two-Band Compressor",
    "Good Bye",
};

constexpr FactoryBank flatBank(const char* const (&names)[FactoryBank::kPrograms]) {
    constexpr ProgramValues flat = flatProgramValues();
    FactoryBank bank{};
    for (int p = 0; p < FactoryBank::kPrograms; ++p) {
        bank.names[p] = names[p];
        for (int i = 0; i < param::kProgramParameterCount; ++i)
            bank.values[p][i] = flat.values[i];
    }
    return bank;
}

}  // namespace

extern constexpr FactoryBank kFactoryBanks[kFactoryBankCount] = {
    flatBank(kBankANames),
    flatBank(kBankANames),
    flatBank(kBankCNames),
};

}  // namespace kirra
