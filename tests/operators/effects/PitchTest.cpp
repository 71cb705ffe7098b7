// The pitch shifter measured by its output frequency and level, and its transform against a
// direct DFT.

#include "operators/effects/Pitch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "EffectTestSupport.h"
#include "modules/ModuleCatalogue.h"
#include "modules/WideLanes.h"
#include "operators/effects/Fft.h"
#include "support/Signals.h"

using namespace effects_test;
using namespace testing_support;
using kirra::Pitch;

namespace {

std::unique_ptr<kirra::Operator> shifter(int semitones, float tune, int resolution,
                                         float sampleRate = kRate) {
    return makeOperator(kirra::kPitch, sampleRate,
                        {{Pitch::kSemitones, stateValue(semitones + 12, 25)},
                         {Pitch::kTune, (tune + 12.0f) / 24.0f},
                         {Pitch::kResolution, stateValue(resolution, 3)}});
}

}  // namespace

TEST(Pitch, FftMatchesTheDirectTransform) {
    kirra::Fft fft;
    fft.prepare(4096);
    for (int size : {8, 16, 64, 512, 4096}) {
        fft.setSize(size);
        auto real = noise(size, size);
        auto imag = noise(size, size + 1);
        std::vector<float> outReal = real, outImag = imag;
        fft.forward(outReal.data(), outImag.data());
        for (int k : {0, 1, size / 4 + 1, size - 1}) {
            double sumReal = 0.0, sumImag = 0.0;
            for (int n = 0; n < size; ++n) {
                double angle = -2.0 * kPi * k * n / size;
                sumReal += real[n] * std::cos(angle) - imag[n] * std::sin(angle);
                sumImag += real[n] * std::sin(angle) + imag[n] * std::cos(angle);
            }
            EXPECT_NEAR(outReal[k], sumReal, 1e-4 * size) << size << " bin " << k;
            EXPECT_NEAR(outImag[k], sumImag, 1e-4 * size) << size << " bin " << k;
        }
        // A frame handed over as its quarters, wherever they lie, and windowed on the way in.
        const auto window = noise(size, size + 2);
        std::vector<float> windowedReal(size), windowedImag(size);
        for (int n = 0; n < size; ++n) {
            windowedReal[n] = real[n] * window[n];
            windowedImag[n] = imag[n] * window[n];
        }
        fft.forward(windowedReal.data(), windowedImag.data());
        const int quarter = size / 4;
        std::vector<float> rotatedReal(size), rotatedImag(size);  // quarters 2, 3, 0, 1
        for (int n = 0; n < size; ++n) {
            rotatedReal[(n + 2 * quarter) % size] = real[n];
            rotatedImag[(n + 2 * quarter) % size] = imag[n];
        }
        const float* realQuarters[4];
        const float* imagQuarters[4];
        for (int q = 0; q < 4; ++q) {
            realQuarters[q] = rotatedReal.data() + (q + 2) % 4 * quarter;
            imagQuarters[q] = rotatedImag.data() + (q + 2) % 4 * quarter;
        }
        std::vector<float> quartersReal(size), quartersImag(size);
        fft.forwardWindowed(realQuarters, imagQuarters, window.data(), quartersReal.data(),
                            quartersImag.data());
        EXPECT_EQ(quartersReal, windowedReal) << size;
        EXPECT_EQ(quartersImag, windowedImag) << size;

        fft.inverse(outReal.data(), outImag.data());
        for (int n = 0; n < size; ++n) {
            ASSERT_NEAR(outReal[n] / size, real[n], 1e-5);
            ASSERT_NEAR(outImag[n] / size, imag[n], 1e-5);
        }
    }
}

TEST(Pitch, RatioOneGivesTheSineBackAfterOneFrame) {
    for (int resolution = 0; resolution < 3; ++resolution) {
        auto op = shifter(0, 0.0f, resolution);
        const int frame = Pitch::frameSize(resolution, kRate);
        EXPECT_EQ(static_cast<Pitch&>(*op).getFrameSize(), frame);
        OperatorRunner runner(*op);
        auto input = sine(1234.5, kRate, 44100, 0.5);
        Stereo out = runner.run(input);
        double worst = 0.0;
        for (size_t i = 4 * frame; i < input.size(); ++i)
            worst = std::fmax(worst, std::fabs(out.left[i] - input[i - frame]));
        EXPECT_LT(worst, 0.5 * 1e-3) << "resolution " << resolution;  // within -60 dB
        EXPECT_NEAR(toDb(rms(out.right, 4 * frame) / rms(input, 4 * frame)), 0.0, 0.01);
    }
}

TEST(Pitch, OctavesUpAndTwoOctavesDown) {
    const double hertz = 1000.0;
    auto input = sine(hertz, kRate, 3 * 44100, 0.5);
    struct Case {
        int semitones;
        float tune;
        double ratio;
    };
    for (const Case& shift :
         {Case{12, 0.0f, 2.0}, Case{-12, -12.0f, 0.25}, Case{7, 0.0f, 1.4983}}) {
        // Two octaves down needs finer bins than "std" has: at 86 Hz per bin the 250 Hz
        // result falls between the two bins the tone's bins are folded into.
        for (int resolution = shift.ratio < 0.5 ? 1 : 0; resolution < 3; ++resolution) {
            auto op = shifter(shift.semitones, shift.tune, resolution);
            Stereo out = OperatorRunner(*op).run(input);
            std::vector<float> tail(out.left.begin() + 44100, out.left.end());
            EXPECT_NEAR(peakFrequency(tail, kRate) / (hertz * shift.ratio), 1.0, 0.003)
                << shift.semitones << " semitones at resolution " << resolution;
            // Moved bins no longer overlap as the analysis window made them, which costs a few
            // decibels of level (up to 8).
            EXPECT_NEAR(toDb(rms(tail) / rms(input)), -3.5, 4.5);
        }
    }
}

// Frames are powers of two, longer at higher rates and for finer resolutions, and never longer
// than the finest, which the transform is prepared for.
TEST(Pitch, FrameSizesFollowTheRate) {
    for (float rate : {8000.0f, 44100.0f, 96000.0f, 192000.0f, 384000.0f}) {
        for (int resolution = 0; resolution < 3; ++resolution) {
            const int frame = Pitch::frameSize(resolution, rate);
            EXPECT_EQ(frame & (frame - 1), 0) << rate;
            EXPECT_GE(frame, Pitch::frameSize(resolution, rate / 2)) << rate;
            if (resolution > 0) {
                EXPECT_GE(frame, Pitch::frameSize(resolution - 1, rate)) << rate;
            }
            EXPECT_LE(frame, Pitch::frameSize(2, rate)) << rate;
        }
    }
}

TEST(Pitch, BothChannelsFollowTheLeftCopies) {
    auto op = shifter(0, 0.0f, 0);
    OperatorRunner runner(*op);
    runner.modulate = [](kirra::Operator& pitch) {
        pitch.addModulation(Pitch::kTune, 0.25f, -0.25f);  // +6 and -6 semitones
    };
    Stereo out = runner.run(sine(500.0, kRate, 44100, 0.5));
    for (size_t i = 0; i < out.frames(); ++i)
        ASSERT_NEAR(out.left[i], out.right[i], 1e-5);
    std::vector<float> tail(out.left.begin() + 22050, out.left.end());
    EXPECT_NEAR(peakFrequency(tail, kRate), 500.0 * std::sqrt(2.0), 3.0);
}

// Where the processor has sixteen-lane vectors, the transform and the bins run on them; every
// lane rounds as before, so the samples are those of the eight-lane version to the bit, for
// moving and for still transpositions, up and down, at every frame size.
TEST(Pitch, SixteenLanesGiveTheSamplesOfEight) {
    auto& widest = kirra::wide_lanes::useWidestLanes;
    if (!widest.load()) GTEST_SKIP() << "no sixteen-lane vectors here";
    const auto render = [](bool sixteen, float rate, int resolution, int semitones) {
        kirra::wide_lanes::useWidestLanes.store(sixteen);
        auto op = shifter(semitones, 0.0f, resolution, rate);
        OperatorRunner runner(*op);
        runner.modulate = [update = 0](kirra::Operator& pitch) mutable {
            const float sweep = 0.004f * static_cast<float>(update++ % 50);
            pitch.addModulation(Pitch::kTune, sweep, sweep);
        };
        return runner.run(Stereo(noise(20000, 3), noise(20000, 4)));
    };
    for (float rate : {44100.0f, 96000.0f}) {
        for (int resolution = 0; resolution < 3; ++resolution) {
            for (int semitones : {-7, 12}) {
                const Stereo eight = render(false, rate, resolution, semitones);
                const Stereo sixteen = render(true, rate, resolution, semitones);
                const size_t bytes = eight.frames() * sizeof(float);
                EXPECT_EQ(std::memcmp(eight.left.data(), sixteen.left.data(), bytes), 0)
                    << rate << " Hz, resolution " << resolution << ", " << semitones;
                EXPECT_EQ(std::memcmp(eight.right.data(), sixteen.right.data(), bytes), 0)
                    << rate << " Hz, resolution " << resolution << ", " << semitones;
            }
        }
    }
    widest.store(true);
}
