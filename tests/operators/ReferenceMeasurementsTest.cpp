// Stored measurements of the nonlinear units, whose outputs have no closed form to compare with:
// sines at three frequencies and two levels through the ladder, every distortion curve and the
// formant filter, the tails of the four reverbs in three windows, and the pitch shifter at each
// resolution (level and measured frequency). Any change of sound shows as a changed line of
// tests/reference/nonlinear.txt in review. KIRRA_UPDATE_REFERENCE=1 rewrites the file from what
// the code measures now (review the differences before committing them).

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "modules/ModuleCatalogue.h"
#include "operators/effects/Distortion.h"
#include "operators/effects/EffectTestSupport.h"
#include "operators/effects/Pitch.h"
#include "operators/effects/Reverb2.h"
#include "support/ReferenceFile.h"
#include "support/Signals.h"

using namespace effects_test;
using namespace testing_support;

namespace {

constexpr double kToleranceDb = 0.01;
constexpr double kToleranceHz = 0.01;

using Measurements = std::map<std::string, double>;

std::string label(const char* format, double a, double b = 0.0) {
    char text[96];
    std::snprintf(text, sizeof(text), format, a, b);
    return text;
}

// One second of each sine, the level of its second half.
void measureSines(Measurements& measured, const std::string& name, kirra::Operator& op) {
    for (double hertz : {100.0, 1000.0, 5000.0}) {
        for (double levelDb : {-20.0, 0.0}) {
            op.resetState();
            Stereo out =
                OperatorRunner(op).run(sine(hertz, kRate, 44100, std::pow(10.0, levelDb / 20.0)));
            measured[name + label(", %g Hz at %g dB: rms dB", hertz, levelDb)] =
                toDb(rms(out.left, 22050));
        }
    }
}

Measurements measureAll() {
    Measurements measured;
    for (auto [cutoff, emphasis] : {std::pair{1000.0f, 0.5f}, {2000.0f, 0.95f}}) {
        auto moog = makeOperator(kirra::kMoog, kRate, {{1, emphasis}});
        moog->setParameter(0, moog->textToValue(0, label("%g", cutoff).c_str(), 0.0f));
        measureSines(measured, label("moog %g Hz, emphasis %g", cutoff, emphasis), *moog);
    }
    const char* curves[kirra::Distortion::kCurveCount] = {"sym A",  "sym B",  "sym C", "asym A",
                                                          "asym B", "asym C", "clip"};
    for (int curve = 0; curve < kirra::Distortion::kCurveCount; ++curve) {
        auto shaper = makeOperator(
            kirra::kDistortion, kRate,
            {{kirra::Distortion::kType, stateValue(curve, kirra::Distortion::kTypeStates)},
             {kirra::Distortion::kDrive, 0.3f}});
        measureSines(measured, std::string("distortion ") + curves[curve] + ", drive 0.3", *shaper);
    }
    auto formant = makeOperator(kirra::kFormant, kRate,
                                {{0, 0.5f}, {1, stateValue(0, 5)}, {2, stateValue(2, 5)}});
    measureSines(measured, "formant A to I, half way", *formant);

    // A quarter second of 1 kHz, then the tail.
    const char* reverbs[kirra::Reverb2::kAlgorithmCount] = {"cathedral", "room", "plate", "hall"};
    std::vector<float> burst = sine(1000.0, kRate, 11025, 0.5);
    burst.resize(66150, 0.0f);
    for (int algorithm = 0; algorithm < kirra::Reverb2::kAlgorithmCount; ++algorithm) {
        auto reverb = makeOperator(
            kirra::kReverb2, kRate,
            {{kirra::Reverb2::kType, stateValue(algorithm, kirra::Reverb2::kTypeStates)},
             {kirra::Reverb2::kTime, 0.5f}});
        Stereo out = OperatorRunner(*reverb).run(burst);
        for (double from : {0.3, 0.6, 1.0}) {
            const size_t start = static_cast<size_t>(from * kRate);
            measured[std::string("reverb ") + reverbs[algorithm] +
                     label(", tail %g to %g s: rms dB", from, from + 0.2)] =
                toDb(rms(out.left, start, start + static_cast<size_t>(0.2 * kRate)));
        }
    }

    const char* resolutions[3] = {"standard", "high", "highest"};
    for (int resolution = 0; resolution < 3; ++resolution) {
        for (auto [semitones, hertz] : {std::pair{7, 1000.0}, {-12, 5000.0}}) {
            auto pitch = makeOperator(kirra::kPitch, kRate,
                                      {{kirra::Pitch::kSemitones, stateValue(semitones + 12, 25)},
                                       {kirra::Pitch::kResolution, stateValue(resolution, 3)}});
            Stereo out = OperatorRunner(*pitch).run(sine(hertz, kRate, 88200, 0.5));
            const std::vector<float> tail(out.left.begin() + 44100, out.left.end());
            const std::string name = std::string("pitch ") + resolutions[resolution] +
                                     label(", %+g semitones on %g Hz", semitones, hertz);
            measured[name + ": rms dB"] = toDb(rms(tail));
            measured[name + ": peak Hz"] = peakFrequency(tail, kRate);
        }
    }
    return measured;
}

}  // namespace

TEST(ReferenceMeasurements, NonlinearUnitsMeasureAsStored) {
    ReferenceValues measured;
    for (const auto& [name, value] : measureAll())
        measured[name] = label("%.4f", value);
    expectMatchesReference(
        "nonlinear.txt", "ReferenceMeasurementsTest", measured,
        [](const std::string& name, const std::string& now, const std::string& stored) {
            const bool hertz = name.size() > 2 && name.compare(name.size() - 2, 2, "Hz") == 0;
            return std::fabs(std::atof(now.c_str()) - std::atof(stored.c_str())) <=
                   (hertz ? kToleranceHz : kToleranceDb);
        });
}
