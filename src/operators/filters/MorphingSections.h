#pragma once
// Two second-order sections, A and B, on both channels, and the per-channel crossfade from A to
// B: the audio core of Biquad and EQ, which differ only in how they form the coefficients.
//
// Lanes: 0 A left, 1 A right, 2 B left, 3 B right. The recursion runs in double precision: in
// single precision a 20 Hz section at 192 kHz loses several decibels of its pass band to the
// rounding of coefficients that sit next to 1 and 2.

#include <cstdint>
#include <cstring>

#include "operators/filters/FilterLanes.h"
#include "operators/filters/FilterMath.h"

namespace kirra {

class MorphingSections {
  public:
    static constexpr int kLanes = 4;
    static constexpr int lane(int section, int channel) { return 2 * section + channel; }

    // This sample's coefficients, lane by lane.
    struct Coefficients {
        alignas(16) double b0[kLanes], b1[kLanes], b2[kLanes], a1[kLanes], a2[kLanes];
        void set(int lane, const SecondOrder& k) {
            b0[lane] = k.b0;
            b1[lane] = k.b1;
            b2[lane] = k.b2;
            a1[lane] = k.a1;
            a2[lane] = k.a2;
        }
    };

    // This sample's coefficients, form(lane) giving a lane's from the lane's entries of three
    // quantities. Forming them costs more than the filtering, so they are kept while those
    // quantities hold the very values (bit for bit) they were formed from, until the owner's
    // settings next change (unsettle).
    template <typename Form>
    const Coefficients& coefficients(const double* first, const double* second, const double* third,
                                     Form form) {
        const double* inputs[3] = {first, second, third};
        bool same = settled_;
        for (int q = 0; q < 3 && same; ++q)
            same = sameBits(formedFrom_[q], inputs[q]);
        if (!same) {
            for (int lane = 0; lane < kLanes; ++lane)
                formed_.set(lane, form(lane));
            for (int q = 0; q < 3; ++q)
                std::memcpy(formedFrom_[q], inputs[q], sizeof formedFrom_[q]);
            settled_ = true;
        }
        return formed_;
    }
    void unsettle() { settled_ = false; }

    // One sample through the four lanes; each channel's output is (1 - m) A + m B with its
    // morph ramp m.
    void process(const Coefficients& k, float& left, float& right);
    void clearHistory();

    // The response a channel hears, for the plots: the crossfade of the complex responses.
    static double morphedMagnitude(const SecondOrder& sectionA, const SecondOrder& sectionB,
                                   float morph, double omega);

    // derived targets and ramps: the morph per channel (0 left, 1 right)
    RampLanes<float, 2> morph;

  private:
    // Bit for bit: +0 and -0, equal as values, would form coefficients of different signs.
    static bool sameBits(const double* a, const double* b) {
        for (int lane = 0; lane < kLanes; ++lane) {
            uint64_t x, y;
            std::memcpy(&x, a + lane, sizeof x);
            std::memcpy(&y, b + lane, sizeof y);
            if (x != y) return false;
        }
        return true;
    }

    // the coefficients last formed, what from, and whether the settings still hold
    Coefficients formed_ = {};
    double formedFrom_[3][kLanes] = {};
    bool settled_ = false;
    // filter state, direct form I
    alignas(16) double x1_[kLanes] = {};
    alignas(16) double x2_[kLanes] = {};
    alignas(16) double y1_[kLanes] = {};
    alignas(16) double y2_[kLanes] = {};
};

}  // namespace kirra
