#pragma once
// The signal-path matrix: gains from the input to each operator, from each operator to each
// operator and from each operator to the output, per channel, with modulated copies and ramps.
// Gains are v squared of the (modulated) normalised value.

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

#include <cstdint>
#include <cstring>

#include "engine/ParameterIndex.h"
#include "modules/ModuleMath.h"
#include "modules/Relaxed.h"
#include "modules/WideLanes.h"

namespace kirra {

class RoutingMatrix {
  public:
    static constexpr int kOperators = param::kSlotCount;
    // Gain numbering, the order of the routing parameters: IN->OPn at n-1, OPm->OPn at
    // 4 + 4 (m-1) + (n-1) (row = source), OPn->OUT at 20 + n-1.
    static constexpr int kInToOp = 0;
    static constexpr int kOpToOp = kInToOp + kOperators;
    static constexpr int kOpToOut = kOpToOp + kOperators * kOperators;
    static constexpr int kGains = kOpToOut + kOperators;
    static_assert(kGains == param::kRoutingCount);
    static_assert(kOpToOp == param::kOpToOp11 - param::kRoutingFirst);
    static_assert(kOpToOut == param::kOpToOut1 - param::kRoutingFirst);
    static constexpr float kInputLimit = 1000.0f;

    RoutingMatrix();

    void setBase(int gain, float value) { base_[gain] = value; }
    float getBase(int gain) const { return base_[gain]; }

    void resetModulation();
    void addModulation(int gain, float left, float right) {
        modulated_[0][gain] += left;
        modulated_[1][gain] += right;
    }
    void clampModulation(int gain);
    void updateRamps();
    void snapRamps();
    // Once an advance has changed no bit, none will before the next update or snap.
    void advanceRamps() {
        if (!ramping_) return;
        bool moved = false;
        for (int channel = 0; channel < 2; ++channel) {
            for (int gain = 0; gain < kGains; ++gain) {
                const float next = current_[channel][gain] + increment_[channel][gain];
                moved |= !sameBits(next, current_[channel][gain]);
                current_[channel][gain] = next;
            }
        }
        ramping_ = moved;
    }

    // Inputs of the four operators for one channel from this sample's input and the previous
    // sample's operator outputs, each limited to +-1000 so that feedback loops stay bounded.
    void operatorInputs(int channel, float input, const float* outputs, float* inputs) const {
        using wide_lanes::Floats4;
        static_assert(kOperators == wide_lanes::kLanes<Floats4>);
        const float* gains = current_[channel];
        Floats4 x = wide_lanes::load<Floats4>(gains + kInToOp) * input;
        for (int m = 0; m < kOperators; ++m) {
            const Floats4 row = wide_lanes::load<Floats4>(gains + kOpToOp + kOperators * m);
            x = row != 0.0f ? x + row * outputs[m] : x;  // addLink, four at a time
        }
        wide_lanes::store(inputs, limitInputs(x));
    }
    // One link into an operator's input or into the wet sum. A gain of zero is no link at all:
    // the source adds nothing, not even the sign of a zero or the NaN of an operator that blew
    // up (0 * NaN), so an operator, and the output, hear only the operators routed to them.
    static void addLink(float& sum, float gain, float source) {
        if (gain != 0.0f) sum += gain * source;
    }
    // NaN, which no limit catches, becomes 0.
    static float limitInput(float sum) {
        float value = sum == sum ? sum : 0.0f;
        value = value > -kInputLimit ? value : -kInputLimit;
        return value < kInputLimit ? value : kInputLimit;
    }
    // The same on four values: NaN to +0, then the processor's maximum and minimum, which
    // answer x > low ? x : low and x < high ? x : high exactly.
    static wide_lanes::Floats4 limitInputs(wide_lanes::Floats4 sums) {
#if defined(__SSE2__)
        const __m128 value = _mm_and_ps(_mm_cmpeq_ps(sums, sums), sums);
        return _mm_min_ps(_mm_max_ps(value, _mm_set1_ps(-kInputLimit)), _mm_set1_ps(kInputLimit));
#else
        for (int lane = 0; lane < wide_lanes::kLanes<wide_lanes::Floats4>; ++lane)
            sums[lane] = limitInput(sums[lane]);
        return sums;
#endif
    }
    // Until the next update no operator feeds itself or one in an earlier slot, and no gain
    // moves: each operator's input then depends only on earlier slots' previous outputs, so the
    // operators may run one after the other over a run of samples.
    bool feedsForwardAtRest() const {
        uint32_t magnitudes = 0;  // the bits of every backward gain but their signs
        for (int channel = 0; channel < 2; ++channel) {
            for (int m = 0; m < kOperators; ++m) {
                for (int n = 0; n <= m; ++n) {
                    uint32_t bits;
                    std::memcpy(&bits, &current_[channel][kOpToOp + kOperators * m + n], 4);
                    magnitudes |= bits & 0x7fffffffu;
                }
            }
        }
        return !ramping_ && magnitudes == 0;
    }
    bool isRamping() const {
        return ramping_;
    }
    float linkGain(int channel, int from, int to) const {
        return current_[channel][kOpToOp + kOperators * from + to];
    }
    float inputGain(int channel, int op) const {
        return current_[channel][kInToOp + op];
    }
    float outputGain(int channel, int op) const {
        return current_[channel][kOpToOut + op];
    }
    float currentGain(int channel, int gain) const {
        return current_[channel][gain];
    }

  private:
    Relaxed<float> base_[kGains] = {};  // stored from any thread
    // the audio thread's
    float modulated_[2][kGains] = {};
    // ramps
    alignas(16) float current_[2][kGains] = {};
    alignas(16) float target_[2][kGains] = {};
    alignas(16) float increment_[2][kGains] = {};
    bool ramping_ = false;  // some gain still moves
    // What the last update set the ramps from, and whether it left every gain on its target
    // (see updateRamps).
    float rampedFrom_[2][kGains] = {};
    bool landed_ = false;
};

}  // namespace kirra
