// The six small operators heard through the plug-in, and their texts.

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>

#include "engine/ModuleFactory.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleCatalogue.h"
#include "support/InProcessHost.h"
#include "support/ModuleTexts.h"
#include "support/Signals.h"

using namespace testing_support;
using kirra::param::operatorParameter;

namespace {

struct Texts {
    std::string display;
    std::string editor;
};

Texts textsOf(int type, int position, float value) {
    auto op = kirra::createOperator(type, 0, nullptr);
    op->setParameter(position, value);
    return {moduleDisplay(*op, position), moduleEditorText(*op, position, value)};
}

float typed(int type, int position, const char* text, float current = 0.123f) {
    auto op = kirra::createOperator(type, 0, nullptr);
    return op->textToValue(position, text, current);
}

// Runs a constant stereo pair through slot 1 holding `type` with the given settings.
std::pair<float, float> steady(int type, std::initializer_list<std::pair<int, float>> settings,
                               float left, float right, const Stereo* sidechain = nullptr) {
    auto probe = makeOperatorProbe(type);
    for (const auto& [position, value] : settings)
        probe->plugin().setParameter(operatorParameter(0, position), value);
    probe->plugin().suspend();
    Stereo input(std::vector<float>(256, left), std::vector<float>(256, right));
    Stereo out = probe->process(input, 512, sidechain);
    return {out.left.back(), out.right.back()};
}

}  // namespace

TEST(Gain, CubicLawAndItsTexts) {
    auto [left, right] = steady(kirra::kGain, {{0, 0.5f}}, 1.0f, -1.0f);
    EXPECT_NEAR(left, 0.125f, 1e-6f);
    EXPECT_NEAR(right, -0.125f, 1e-6f);
    EXPECT_EQ(steady(kirra::kGain, {{0, 0.0f}}, 1.0f, 1.0f).first, 0.0f);
    EXPECT_EQ(textsOf(kirra::kGain, 0, 0.0f).display, "-oo");
    EXPECT_EQ(textsOf(kirra::kGain, 0, 0.0f).editor, "-oo dB");
    EXPECT_EQ(textsOf(kirra::kGain, 0, 1.0f).display, "0");
    EXPECT_EQ(textsOf(kirra::kGain, 0, 0.5f).editor, "-18.1 dB");
    EXPECT_FLOAT_EQ(typed(kirra::kGain, 0, "-OO"), 0.0f);
    EXPECT_FLOAT_EQ(typed(kirra::kGain, 0, "+6"), 1.0f);
    EXPECT_FLOAT_EQ(typed(kirra::kGain, 0, "-120"), 0.0f);
    EXPECT_NEAR(std::pow(typed(kirra::kGain, 0, "-18.06 dB"), 3.0f), 0.125f, 1e-4f);
    EXPECT_FLOAT_EQ(typed(kirra::kGain, 0, "loud"), 0.123f);
}

TEST(Stereo, WidthAndLinearBalance) {
    auto unchanged = steady(kirra::kStereo, {{1, 0.5f}}, 0.7f, 0.1f);
    EXPECT_NEAR(unchanged.first, 0.7f, 1e-6f);
    EXPECT_NEAR(unchanged.second, 0.1f, 1e-6f);
    auto mono = steady(kirra::kStereo, {{1, 0.0f}}, 0.7f, 0.1f);
    EXPECT_NEAR(mono.first, 0.4f, 1e-6f);
    EXPECT_NEAR(mono.second, 0.4f, 1e-6f);
    auto hardLeft = steady(kirra::kStereo, {{0, 0.0f}}, 0.5f, 0.5f);
    EXPECT_NEAR(hardLeft.first, 1.0f, 1e-6f);  // +6 dB at the end of a linear law
    EXPECT_NEAR(hardLeft.second, 0.0f, 1e-6f);
    EXPECT_EQ(textsOf(kirra::kStereo, 0, 0.4975f).display, "C");
    EXPECT_EQ(textsOf(kirra::kStereo, 0, 0.3f).display, "L:40");
    EXPECT_EQ(textsOf(kirra::kStereo, 0, 0.8f).editor, "RIGHT:60");
    EXPECT_EQ(textsOf(kirra::kStereo, 0, 0.5f).editor, "CENTER");
    EXPECT_EQ(textsOf(kirra::kStereo, 1, 0.5f).display, "100");
    EXPECT_EQ(textsOf(kirra::kStereo, 1, 0.75f).editor, "150.0 %");
    EXPECT_FLOAT_EQ(typed(kirra::kStereo, 0, "CENTER"), 0.5f);
    EXPECT_FLOAT_EQ(typed(kirra::kStereo, 0, "left:40"), 0.3f);
    EXPECT_FLOAT_EQ(typed(kirra::kStereo, 0, "R250"), 1.0f);
    EXPECT_FLOAT_EQ(typed(kirra::kStereo, 1, "300"), 1.0f);
    EXPECT_FLOAT_EQ(typed(kirra::kStereo, 1, "50 %"), 0.25f);
}

TEST(Panner, PlacesEachInputOnItsOwn) {
    auto centred = steady(kirra::kPanner, {{0, 0.5f}, {1, 0.5f}}, 0.6f, 0.2f);
    EXPECT_NEAR(centred.first, 0.4f, 1e-6f);
    EXPECT_NEAR(centred.second, 0.4f, 1e-6f);
    auto swapped = steady(kirra::kPanner, {{0, 1.0f}, {1, 0.0f}}, 0.6f, 0.2f);
    EXPECT_NEAR(swapped.first, 0.2f, 1e-6f);
    EXPECT_NEAR(swapped.second, 0.6f, 1e-6f);
    EXPECT_EQ(textsOf(kirra::kPanner, 1, 1.0f).display, "R:100");
}

TEST(PhaseInvAndRectifier, SwitchesThatAreNoModulationDestinations) {
    auto inverted = steady(kirra::kPhaseInv, {{0, 0.75f}}, 0.3f, -0.2f);
    EXPECT_FLOAT_EQ(inverted.first, -0.3f);
    EXPECT_FLOAT_EQ(inverted.second, 0.2f);
    for (int type : {kirra::kPhaseInv, kirra::kRectifier}) {
        auto op = kirra::createOperator(type, 0, nullptr);
        for (int position = 0; position < 16; ++position)
            EXPECT_FALSE(op->isParameterUsed(position));
    }
    EXPECT_EQ(textsOf(kirra::kPhaseInv, 0, 0.75f).display, "-");
    EXPECT_EQ(textsOf(kirra::kPhaseInv, 0, 0.25f).editor, "positive (+)");
    EXPECT_EQ(textsOf(kirra::kRectifier, 0, 0.75f).display, "on");
    EXPECT_FLOAT_EQ(typed(kirra::kPhaseInv, 0, "negative (-)"), 0.75f);
    EXPECT_FLOAT_EQ(typed(kirra::kRectifier, 0, "off"), 0.25f);
}

TEST(Rectifier, FullWaveWithTheDirectCurrentRemoved) {
    const float rate = 44100.0f;
    auto probe = makeOperatorProbe(kirra::kRectifier, rate);
    probe->plugin().setParameter(operatorParameter(0, 0), 1.0f);
    probe->plugin().suspend();
    // A constant settles to silence through the 10 Hz high-pass.
    Stereo dc = probe->process(stereo(std::vector<float>(44100, 0.5f)));
    EXPECT_LT(std::fabs(dc.left.back()), 1e-3f);

    probe->plugin().suspend();
    const double frequency = 441.0;
    auto input = sine(frequency, rate, 88200);
    Stereo out = probe->process(stereo(input));
    // |sin| has mean 2/pi (removed), and a strong second harmonic of amplitude 4/(3 pi).
    EXPECT_NEAR(amplitudeAt(out.left, 2 * frequency, rate, 44100, 88200), 4.0 / (3.0 * kPi), 2e-3);
    EXPECT_LT(amplitudeAt(out.left, frequency, rate, 44100, 88200), 1e-3);
    double mean = 0.0;
    for (size_t i = 44100; i < 88200; ++i)
        mean += out.left[i];
    EXPECT_NEAR(mean / 44100.0, 0.0, 2e-3);
    // Switched off it is transparent from the next control period on.
    probe->plugin().setParameter(operatorParameter(0, 0), 0.0f);
    Stereo off = probe->process(stereo(input));
    for (size_t i = 32; i < input.size(); ++i)
        ASSERT_EQ(off.left[i], input[i]) << i;
}

TEST(SideMix, ConstantPowerCrossfadeToTheSidechain) {
    Stereo sidechain(std::vector<float>(256, 0.8f), std::vector<float>(256, -0.4f));
    auto half = steady(kirra::kSideMix, {{0, 0.5f}}, 1.0f, 1.0f, &sidechain);
    EXPECT_NEAR(half.first, std::sqrt(0.5f) * (1.0f + 0.8f), 1e-5f);
    EXPECT_NEAR(half.second, std::sqrt(0.5f) * (1.0f - 0.4f), 1e-5f);
    auto sideOnly = steady(kirra::kSideMix, {{0, 1.0f}}, 1.0f, 1.0f, &sidechain);
    EXPECT_NEAR(sideOnly.first, 0.8f, 1e-6f);
    EXPECT_NEAR(sideOnly.second, -0.4f, 1e-6f);
    EXPECT_EQ(textsOf(kirra::kSideMix, 0, 0.25f).display, "M75<>25S");
    EXPECT_EQ(textsOf(kirra::kSideMix, 0, 0.25f).editor, "75 - 25");
    EXPECT_FLOAT_EQ(typed(kirra::kSideMix, 0, "70 - 30"), 0.3f);
    EXPECT_FLOAT_EQ(typed(kirra::kSideMix, 0, "M60<>40S"), 0.4f);
    EXPECT_FLOAT_EQ(typed(kirra::kSideMix, 0, "m80"), 0.2f);
    EXPECT_FLOAT_EQ(typed(kirra::kSideMix, 0, "S10"), 0.1f);
    EXPECT_FLOAT_EQ(typed(kirra::kSideMix, 0, "250"), 1.0f);
}
