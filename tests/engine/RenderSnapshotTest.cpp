// A few factory programs, rendered and described as a host sees them, against stored
// fingerprints: refactoring and speed work must leave the sound and the host's texts bit for bit
// as they were. A deliberate change of sound rewrites tests/reference/renders.txt with
// KIRRA_UPDATE_REFERENCE=1 (and says so in review).

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/ParameterIndex.h"
#include "modules/ModuleCatalogue.h"
#include "support/ProgramRender.h"
#include "support/ReferenceFile.h"
#include "support/Signals.h"

using namespace testing_support;

namespace {

// FNV-1a over bytes: any changed bit changes the fingerprint.
struct Fingerprint {
    uint64_t hash = 1469598103934665603ULL;
    void add(const void* data, size_t bytes) {
        const auto* byte = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < bytes; ++i)
            hash = (hash ^ byte[i]) * 1099511628211ULL;
    }
    std::string text() const {
        char hex[17];
        std::snprintf(hex, sizeof(hex), "%016llx", static_cast<unsigned long long>(hash));
        return hex;
    }
};

std::string renderFingerprint(int bank, int program, float sampleRate, int blockSize) {
    auto host = makeProgramHost(bank, program, sampleRate);
    Stereo output = host->process(demoSignal(sampleRate, 2.0, 0.5), blockSize);
    Fingerprint print;
    print.add(output.left.data(), output.left.size() * sizeof(float));
    print.add(output.right.data(), output.right.size() * sizeof(float));
    return print.text();
}

// A render with changes between its blocks: a module type, a program, a whole state (another
// program's chunk), each heard from the next block on.
std::string changesFingerprint(int blockSize) {
    std::vector<uint8_t> otherState = chunkOf(makeProgramHost(1, 2, 44100.0f)->plugin());
    auto host = makeProgramHost(2, 44, 44100.0f);
    kirra::Plugin& plugin = host->plugin();
    const Stereo input = demoSignal(44100.0f, 2.0, 0.0);
    const size_t quarter = input.frames() / 4 + 5;  // not a whole number of blocks
    Fingerprint print;
    for (int part = 0; part < 4; ++part) {
        if (part == 1) {
            plugin.setParameter(kirra::param::kOperatorType1 + 1,
                                stateValue(kirra::kDelayLine, kirra::kModuleTypeStates));
        }
        if (part == 2) plugin.selectProgram(20);
        if (part == 3)
            plugin.setChunk(otherState.data(), static_cast<int32_t>(otherState.size()), false);
        Stereo output =
            host->process(slice(input, quarter * part, quarter * (part + 1)), blockSize);
        print.add(output.left.data(), output.left.size() * sizeof(float));
        print.add(output.right.data(), output.right.size() * sizeof(float));
    }
    return print.text();
}

std::string hostTextFingerprint(int bank, int program) {
    auto host = makeProgramHost(bank, program, 44100.0f);
    Fingerprint print;
    for (int index = 0; index < kirra::param::kHostParameterCount; ++index) {
        for (auto read : {&kirra::Plugin::getParameterName, &kirra::Plugin::getParameterLabel,
                          &kirra::Plugin::getParameterDisplay}) {
            std::string text = hostText(host->plugin(), read, index);
            print.add(text.c_str(), text.size() + 1);
        }
    }
    return print.text();
}

}  // namespace

TEST(RenderSnapshot, ProgramsSoundAndReadAsStored) {
    // A:36 keys its compressor from the sidechain: the taps must be filled from its first sample.
    const std::pair<int, int> programs[] = {{0, 0},  {0, 16}, {0, 35}, {1, 2},
                                            {1, 63}, {2, 0},  {2, 44}, {2, 63}};
    ReferenceValues measured;
    for (auto [bank, program] : programs) {
        const std::string name = programLabel(bank, program);
        measured[name + " host texts"] = hostTextFingerprint(bank, program);
        measured[name + " at 44100 Hz, blocks of 512"] =
            renderFingerprint(bank, program, 44100, 512);
        measured[name + " at 96000 Hz, blocks of 7"] = renderFingerprint(bank, program, 96000, 7);
    }
    measured["C:45 changed between blocks of 64"] = changesFingerprint(64);
    measured["C:45 changed between blocks of 7"] = changesFingerprint(7);
    expectMatchesReference("renders.txt", "RenderSnapshotTest", measured,
                           [](const std::string&, const std::string& now,
                              const std::string& stored) { return now == stored; });
}
