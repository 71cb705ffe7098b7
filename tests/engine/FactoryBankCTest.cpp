// Bank C demonstrates one effect per program, named by its title. Each program holds the module
// types its title implies (the table below, reviewed by hand), and the titles that promise a
// measurable behaviour keep the promise. (That each one audibly changes the demo signal is
// checked with the renders of every factory program.)

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "engine/FactoryBanks.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"
#include "support/ProgramRender.h"
#include "support/Signals.h"

using namespace testing_support;
using namespace kirra::param;

namespace {

constexpr int kBankC = 2;

struct Demonstration {
    const char* title;
    std::vector<const char*> operators;   // operator types the program must hold
    std::vector<const char*> modulators;  // modulator types it must hold
};

// What each title implies, by the catalogue's short names.
const Demonstration kBankCTable[kirra::FactoryBank::kPrograms] = {
    {"E-Bow", {"COMP/EXP", "GAIN"}, {"ENV", "ADSR"}},
    {"LP Filter 12/24dB LFO", {"BIQUAD", "BIQUAD"}, {"LFO"}},
    {"HP Filter 12/24dB LFO", {"BIQUAD", "BIQUAD"}, {"LFO"}},
    {"BP Filter 12/24dB LFO", {"BIQUAD", "BIQUAD"}, {"LFO"}},
    {"LP Filter 24/48dB ENV", {"BIQUAD", "BIQUAD", "BIQUAD", "BIQUAD"}, {"ENV"}},
    {"Moog Filter LFO & ENV", {"MOOG"}, {"LFO", "ENV"}},
    {"LP-HP Morph Filter LFO", {"SVF"}, {"LFO"}},
    {"LP-LP Morph Filter LFO", {"BIQUAD"}, {"LFO"}},
    {"Formant Morph Filter LFO", {"FORMANT"}, {"LFO"}},
    {"Shelving EQ", {"EQ", "EQ"}, {}},
    {"Peaking EQ", {"EQ", "EQ"}, {}},
    {"Simple Flanger", {"COMB"}, {"LFO"}},
    {"Quadra Flanger", {"COMB", "COMB", "COMB", "COMB"}, {"LFO", "LFO"}},
    {"Simple Phaser", {"PHASER"}, {"LFO"}},
    {"Quadra Phaser", {"PHASER", "PHASER", "PHASER", "PHASER"}, {"LFO", "LFO"}},
    {"Detuner", {"PITCH", "PITCH"}, {}},
    {"Pitch Shifter", {"PITCH"}, {}},
    {"Harmonizer", {"PITCH", "PITCH"}, {}},
    {"Vibrato", {"DELAY"}, {"LFO"}},
    {"Hall Reverb", {"REVERB"}, {}},
    {"Cathedral Reverb", {"REVERB"}, {}},
    {"Room Reverb", {"REVERB"}, {}},
    {"FX Reverb", {"REVERB", "PITCH"}, {}},
    {"Tremolo", {"GAIN"}, {"LFO"}},
    {"Ultra Chorus", {"DELAY", "DELAY"}, {"LFO", "LFO"}},
    {"Compressor", {"COMP/EXP"}, {}},
    {"Expander", {"COMP/EXP"}, {}},
    {"Keyed Gate", {"COMP/EXP"}, {}},
    {"Ducked Delay", {"DELAY", "GAIN"}, {"ENV"}},
    {"Twin Delay", {"DELAY", "DELAY"}, {}},
    {"Bitcrusher / Decimator", {"LOFI"}, {}},
    {"Distortion A", {"DISTORTION"}, {}},
    {"Distortion B", {"DISTORTION"}, {}},
    {"Stereo Balance / Width", {"STEREO"}, {}},
    {"Channel Panner", {"PANNER"}, {"LFO"}},
    {"Hum Remover 50Hz", {"BIQUAD", "BIQUAD", "BIQUAD", "BIQUAD"}, {}},
    {"Hum Remover 60Hz", {"BIQUAD", "BIQUAD", "BIQUAD", "BIQUAD"}, {}},
    {"Detuned Delay", {"DELAY", "PITCH"}, {}},
    {"Tape Delay", {"DELAY", "DISTORTION", "BIQUAD"}, {"LFO", "LFO"}},
    {"Doubler", {"DELAY"}, {"LFO"}},
    {"Slapback", {"DELAY"}, {}},
    {"Autofilter", {"SVF"}, {"ENV", "LFO"}},
    {"Subflanger", {"PITCH", "COMB"}, {"LFO"}},
    {"El Cheapo", {"BIQUAD", "DISTORTION", "LOFI"}, {}},
    {"Rotary Speaker Chorale", {"BIQUAD", "BIQUAD", "DELAY", "PANNER"}, {"LFO", "LFO"}},
    {"Rotary Speaker Tremolo", {"BIQUAD", "BIQUAD", "DELAY", "PANNER"}, {"LFO", "LFO"}},
    {"Graphic EQ", {"EQ", "EQ", "EQ", "EQ"}, {}},
    {"Gated Reverb", {"REVERB", "COMP/EXP"}, {}},
    {"Reversed Reverb", {"REVERB", "GAIN", "DELAY"}, {"LFO"}},
    {"Grunger", {"DISTORTION", "EQ"}, {}},
    {"Drum Tweaker", {"GAIN", "EQ", "EQ"}, {"ENV", "ENV"}},
    {"Quad Filter", {"SVF", "SVF", "SVF", "SVF"}, {"LFO", "LFO"}},
    {"Crossover Gate", {"BIQUAD", "COMP/EXP"}, {}},
    {"Low-Pass Noise Gate", {"SVF", "COMP/EXP"}, {"ENV"}},
    {"Club Reverb", {"REVERB"}, {}},
    {"Resonator", {"COMB", "COMB"}, {}},
    {"Floating Comp", {"COMP/EXP"}, {"ENV"}},
    {"Chroma Delay", {"DELAY", "SVF"}, {"LFO"}},
    {"Morello Mod", {"PHASER", "DELAY", "EQ", "GAIN"}, {"LFO", "LFO", "LFO"}},
    {"Morphing Decay", {"REVERB"}, {"LFO"}},
    {"Notch Filter Sweep", {"BIQUAD", "BIQUAD"}, {"LFO"}},
    {"Amp My Rhodes", {"DISTORTION", "EQ", "PANNER", "REVERB"}, {"LFO"}},
    {"Two-Band Compressor", {"SVF", "SVF", "COMP/EXP", "COMP/EXP"}, {}},
    {"Good Bye", {"DELAY", "PITCH", "REVERB"}, {"LFO"}},
};

std::multiset<std::string> typesIn(const float* values, bool operators) {
    std::multiset<std::string> names;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        int index = operators ? kOperatorType1 + slot : kModulatorType1 + slot;
        int type = kirra::valueToIndex(values[index], kirra::kModuleTypeStates);
        names.insert(operators ? kirra::operatorCatalogue(type).shortName
                               : kirra::modulatorCatalogue(type).shortName);
    }
    return names;
}

bool holds(const std::multiset<std::string>& present, const std::vector<const char*>& wanted) {
    std::multiset<std::string> remaining = present;
    for (const char* name : wanted) {
        auto found = remaining.find(name);
        if (found == remaining.end()) return false;
        remaining.erase(found);
    }
    return true;
}

TEST(FactoryBankC, EachTitleHoldsTheModulesItNames) {
    const kirra::FactoryBank& bank = kirra::factoryBank(kBankC);
    for (int program = 0; program < kirra::FactoryBank::kPrograms; ++program) {
        const Demonstration& expected = kBankCTable[program];
        SCOPED_TRACE(programLabel(kBankC, program));
        EXPECT_STREQ(bank.names[program], expected.title);
        EXPECT_TRUE(holds(typesIn(bank.values[program], true), expected.operators));
        EXPECT_TRUE(holds(typesIn(bank.values[program], false), expected.modulators));
    }
}

// Mains hum and its first harmonics over a quiet chord: the hum falls by at least 30 dB, the
// chord's partials between the notches stay within 2 dB.
void expectHumRemoved(int program, double mainsHz) {
    const float sampleRate = 44100.0f;
    const size_t frames = 3 * static_cast<size_t>(sampleRate);
    std::vector<float> signal(frames, 0.0f);
    for (int harmonic = 1; harmonic <= 4; ++harmonic) {
        std::vector<float> hum = sine(mainsHz * harmonic, sampleRate, frames, 0.1 / harmonic);
        for (size_t i = 0; i < frames; ++i)
            signal[i] += hum[i];
    }
    const double musicHz = 440.0;
    std::vector<float> music = sine(musicHz, sampleRate, frames, 0.2);
    for (size_t i = 0; i < frames; ++i)
        signal[i] += music[i];
    auto host = makeProgramHost(kBankC, program, sampleRate);
    Stereo out = host->process(stereo(signal), 512);
    const size_t from = frames / 2;
    for (int harmonic = 1; harmonic <= 4; ++harmonic) {
        double hz = mainsHz * harmonic;
        double before = amplitudeAt(signal, hz, sampleRate, from, frames);
        double after = amplitudeAt(out.left, hz, sampleRate, from, frames);
        EXPECT_LT(toDb(after / before), -30.0) << hz << " Hz";
    }
    double musicChange = toDb(amplitudeAt(out.left, musicHz, sampleRate, from, frames) /
                              amplitudeAt(signal, musicHz, sampleRate, from, frames));
    EXPECT_NEAR(musicChange, 0.0, 2.0);
}

TEST(FactoryBankC, HumRemoversTakeOutTheMainsFrequencyAndItsHarmonics) {
    expectHumRemoved(35, 50.0);
    expectHumRemoved(36, 60.0);
}

// A steady tone on the main input, bursts on the sidechain: the tone is heard while a burst
// plays and gated away between them.
TEST(FactoryBankC, KeyedGateFollowsTheSidechain) {
    const float sampleRate = 44100.0f;
    const size_t frames = 2 * static_cast<size_t>(sampleRate);
    const size_t period = static_cast<size_t>(0.5 * sampleRate);
    const size_t burst = static_cast<size_t>(0.15 * sampleRate);
    std::vector<float> key = noise(frames, 3, 0.5f);
    for (size_t i = 0; i < frames; ++i) {
        if (i % period >= burst) key[i] = 0.0f;
    }
    auto host = makeProgramHost(kBankC, 27, sampleRate);
    // The host tells which inputs are connected when processing resumes.
    host->script().sidechainConnected = true;
    host->plugin().suspend();
    host->plugin().resume();
    Stereo side = stereo(key);
    Stereo out = host->process(stereo(sine(330.0, sampleRate, frames, 0.3)), 512, &side);
    for (size_t start = period; start + period <= frames; start += period) {
        double open = rms(out.left, start + burst / 4, start + burst);
        double closed = rms(out.left, start + burst + period / 2 - period / 5, start + period);
        EXPECT_GT(toDb(open), -16.0);
        EXPECT_LT(toDb(closed / open), -30.0);
    }
}

// Wet only: echoes are held down while the input plays and come back as soon as it stops.
TEST(FactoryBankC, DuckedDelayPullsItsEchoesUnderTheInput) {
    const float sampleRate = 44100.0f;
    const size_t playing = static_cast<size_t>(1.5 * sampleRate);
    std::vector<float> input = noise(playing, 9, 0.4f);
    input.resize(3 * static_cast<size_t>(sampleRate), 0.0f);
    auto host = makeProgramHost(kBankC, 28, sampleRate);
    host->plugin().setParameter(kKnob1 + 2, 1.0f);  // "MIX": echoes only
    Stereo out = host->process(stereo(input), 512);
    const size_t quarter = static_cast<size_t>(0.25 * sampleRate);
    double underInput = rms(out.left, playing - 2 * quarter, playing);
    double afterInput = rms(out.left, playing + quarter / 2, playing + 2 * quarter);
    EXPECT_GT(toDb(afterInput / underInput), 10.0);
}

// On white noise, the sweep of the low-pass shows as a level that rises and falls with the LFO.
TEST(FactoryBankC, LowPassSweepMovesWithTheLfo) {
    const float sampleRate = 44100.0f;
    const size_t frames = 4 * static_cast<size_t>(sampleRate);
    auto host = makeProgramHost(kBankC, 1, sampleRate);
    Stereo out = host->process(stereo(noise(frames, 5, 0.3f)), 512);
    const size_t window = static_cast<size_t>(0.05 * sampleRate);
    double quietest = 1e9;
    double loudest = 0.0;
    for (size_t from = frames / 4; from + window <= frames; from += window) {
        double level = rms(out.left, from, from + window);
        quietest = std::min(quietest, level);
        loudest = std::max(loudest, level);
    }
    EXPECT_GT(toDb(loudest / quietest), 6.0);
}

}  // namespace
