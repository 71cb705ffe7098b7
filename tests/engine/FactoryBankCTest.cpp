// Bank C demonstrates one effect per program, named by its title. Each program holds the module
// types the words of its title imply, and the titles that promise a measurable behaviour keep
// the promise. (That each one audibly changes the demo signal is checked with the renders of
// every factory program.)

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
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

// Words of a title and the modules a program so named must hold: any one of the module types
// listed (by their short names), operators or modulators.
const struct {
    const char* words;
    bool modulators;
    std::vector<const char*> types;
} kVocabulary[] = {
    {"filter", false, {"BIQUAD", "SVF", "MOOG", "FORMANT"}},
    {"moog", false, {"MOOG"}},
    {"formant", false, {"FORMANT"}},
    {"hum", false, {"BIQUAD"}},
    {"eq", false, {"EQ"}},
    {"flanger resonator", false, {"COMB"}},
    {"phaser", false, {"PHASER"}},
    {"pitch detune harmonizer", false, {"PITCH"}},
    {"delay chorus vibrato doubler slapback", false, {"DELAY"}},
    {"rotary panner", false, {"PANNER"}},
    {"reverb", false, {"REVERB"}},
    {"comp expander gate", false, {"COMP/EXP"}},
    {"bitcrusher", false, {"LOFI"}},
    {"distortion", false, {"DISTORTION"}},
    {"stereo", false, {"STEREO"}},
    {"tremolo lfo", true, {"LFO"}},
    {"env", true, {"ENV"}},
};

std::set<std::string> typesIn(const float* values, int firstType) {
    std::set<std::string> names;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        int type = kirra::valueToIndex(values[firstType + slot], kirra::kModuleTypeStates);
        names.insert(firstType == kOperatorType1 ? kirra::operatorCatalogue(type).shortName
                                                 : kirra::modulatorCatalogue(type).shortName);
    }
    return names;
}

int programNamed(const char* title) {
    const kirra::FactoryBank& bank = kirra::factoryBank(kBankC);
    for (int program = 0; program < kirra::FactoryBank::kPrograms; ++program) {
        if (std::string(bank.names[program]) == title) return program;
    }
    ADD_FAILURE() << "no program " << title;
    return 0;
}

TEST(FactoryBankC, EachTitleHoldsTheModulesItNames) {
    const kirra::FactoryBank& bank = kirra::factoryBank(kBankC);
    int named = 0;
    for (int program = 0; program < kirra::FactoryBank::kPrograms; ++program) {
        std::string title = bank.names[program];
        SCOPED_TRACE(programLabel(kBankC, program) + " " + title);
        std::transform(title.begin(), title.end(), title.begin(), ::tolower);
        const auto operators = typesIn(bank.values[program], kOperatorType1);
        const auto modulators = typesIn(bank.values[program], kModulatorType1);
        bool namesOne = false;
        for (const auto& entry : kVocabulary) {
            std::istringstream words(entry.words);
            for (std::string word; words >> word;) {
                if (title.find(word) == std::string::npos) continue;
                namesOne = true;
                const auto& present = entry.modulators ? modulators : operators;
                EXPECT_TRUE(std::any_of(entry.types.begin(), entry.types.end(),
                                        [&](const char* type) { return present.count(type) > 0; }))
                    << word;
            }
        }
        named += namesOne;
    }
    // The vocabulary covers all but a few fanciful titles, so a shuffled bank cannot pass.
    EXPECT_GE(named, 56);
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
    expectHumRemoved(programNamed("Hum Remover 50Hz"), 50.0);
    expectHumRemoved(programNamed("Hum Remover 60Hz"), 60.0);
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
    auto host = makeProgramHost(kBankC, programNamed("Keyed Gate"), sampleRate);
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
    auto host = makeProgramHost(kBankC, programNamed("Ducked Delay"), sampleRate);
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
    auto host = makeProgramHost(kBankC, programNamed("LP Filter 12/24dB LFO"), sampleRate);
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
