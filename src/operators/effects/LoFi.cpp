#include "operators/effects/LoFi.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kirra {

namespace {

constexpr float kTopRateHz = 44100.0f;
constexpr float kLowestRateHz = 2205.0f;
constexpr float kRateDecades = 2.995732f;  // ln(20): the lowest rate is a twentieth of the top

// 1 .. 16 bits
void bitsDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.1f", 1.0f + 15.0f * value);
}

float bitsFromText(const Module& /*module*/, const char* text, float currentValue) {
    float bits;
    if (!numberFromText(text, 1.0f, 16.0f, bits)) return currentValue;
    return (bits - 1.0f) / 15.0f;
}

int roundedHoldRate(float value) {
    return static_cast<int>(LoFi::holdRateHz(value) + 0.5f);
}

void holdRateDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%d", roundedHoldRate(value));
}

void holdRateEditorText(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%d Hz", roundedHoldRate(value));
}

float holdRateFromText(const Module& /*module*/, const char* text, float currentValue) {
    float hertz;
    if (!numberFromText(text, kLowestRateHz, kTopRateHz, hertz)) return currentValue;
    return std::log(hertz / kTopRateHz) / kRateDecades + 1.0f;
}

const PositionDescriptor kParameters[] = {
    {"bits", "bit depth", "", 1.0f, bitsDisplay, nullptr, bitsFromText},  // 16 bits
    {"smplrate", "sample rate", "", 1.0f, holdRateDisplay, holdRateEditorText,
     holdRateFromText},  // 44100 Hz
};
static_assert(std::size(kParameters) == LoFi::kPositionCount);

}  // namespace

LoFi::LoFi(int slot, ModuleOwner* owner)
    : Operator(kLoFi, slot, owner, kParameters, std::size(kParameters)) {
    std::fill(std::begin(quantiserBits_), std::end(quantiserBits_),
              std::numeric_limits<float>::quiet_NaN());
    setSampleRate(sampleRate_);
    resetState();
}

float LoFi::holdRateHz(float value) {
    return kTopRateHz * std::exp(-kRateDecades * (1.0f - value));
}

void LoFi::setSampleRate(float sampleRate) {
    rateScale_ = kTopRateHz / sampleRate;
    Operator::setSampleRate(sampleRate);
}

void LoFi::updateParameters() {
    for (int lane = 0; lane < 2; ++lane) {
        const Relaxed<float>* copy = lane == 0 ? left_ : right_;
        ramps_.target[kBitsLeft + lane] = copy[kBits];
        ramps_.target[kRateLeft + lane] =
            std::exp(-kRateDecades * (1.0f - copy[kHoldRate])) * rateScale_;
    }
    ramps_.aimAtTargets();
    rampsMoving_ = false;
    for (const float increment : ramps_.increment)
        rampsMoving_ |= increment != 0.0f;
    updateHoldsEverySample();
}

void LoFi::snapToTargets() {
    ramps_.snap();
    rampsMoving_ = false;
    updateHoldsEverySample();
}

void LoFi::updateHoldsEverySample() {
    bool holds = !rampsMoving_;
    for (int lane = 0; lane < 2; ++lane) {
        const double phase = phase_[lane];
        holds = holds && ramps_.current[kRateLeft + lane] == 1.0f && phase >= 0.0 && phase < 1.0 &&
                (phase + 1.0) - 1.0 == phase;
    }
    holdsEverySample_ = holds;
}

void LoFi::resetState() {
    phase_[0] = phase_[1] = 0.0;
    held_[0] = held_[1] = 0.0f;
    snapToTargets();
}

void LoFi::setQuantiser(int lane, float bits) {
    // 2^(15 bits) levels per unit; half a level moves the rounding to the nearest level.
    const float levels = std::exp2(15.0f * bits);
    levels_[lane] = levels;
    halfLevel_[lane] = 0.5f / levels;
    quantiserBits_[lane] = bits;
    // Dividing by a power of two and multiplying by its reciprocal round the same exact
    // quotient, so whole bit depths (the default among them) can take the multiplication.
    int exponent = 0;
    levelStep_[lane] = std::frexp(levels, &exponent) == 0.5f ? 1.0f / levels : 0.0f;
    stepsExact_ = levelStep_[0] != 0.0f && levelStep_[1] != 0.0f;
}

void LoFi::advancePhases() {
    phase_[0] += ramps_.current[kRateLeft];
    phase_[1] += ramps_.current[kRateRight];
}

// Out of line, so that the common case inlined in processSample needs no frame of its own.
[[gnu::noinline]] void LoFi::processLanes(float& left, float& right) {
    float* samples[2] = {&left, &right};
    for (int lane = 0; lane < 2; ++lane) {
        double& phase = phase_[lane];
        if (phase >= 1.0) {
            // At host rates below the hold rate a period ends every sample; the phase keeps
            // only its fraction so that it cannot grow without bound.
            phase -= std::floor(phase);
            const float bits = ramps_.current[kBitsLeft + lane];
            if (!(bits == quantiserBits_[lane])) setQuantiser(lane, bits);
            // Rounded to the nearest level, halves upwards.
            const float levels = levels_[lane];
            held_[lane] = std::floor((*samples[lane] + halfLevel_[lane]) * levels) / levels;
        }
        *samples[lane] = held_[lane];
    }
}

void LoFi::processSample(float& left, float& right) {
    if (rampsMoving_) ramps_.advance();
#if defined(__SSE2__)
    // The heaviest case runs both channels in the lanes of one vector, the same arithmetic per
    // lane in half the instructions: both take a new sample with less than a period to spare
    // (a hold rate at or above the host's) at the bits their quantisers were set for.
    alignas(16) static constexpr double kOne[2] = {1.0, 1.0};
    alignas(16) static constexpr double kTwo[2] = {2.0, 2.0};
    alignas(16) static constexpr float kUnit[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    alignas(16) static constexpr int32_t kOverflow[4] = {INT32_MIN, INT32_MIN, INT32_MIN,
                                                         INT32_MIN};
    const __m128d one = _mm_load_pd(kOne);
    const __m128 current = _mm_load_ps(ramps_.current);
    __m128d phase = one;
    bool bothInPeriod = holdsEverySample_;
    if (!bothInPeriod) {
        // the rate lanes (2 and 3) widened and added, as advancePhases does
        phase = _mm_add_pd(_mm_load_pd(phase_), _mm_cvtps_pd(_mm_movehl_ps(current, current)));
        _mm_store_pd(phase_, phase);
        const __m128d inPeriod =
            _mm_and_pd(_mm_cmpnlt_pd(phase, one), _mm_cmplt_pd(phase, _mm_load_pd(kTwo)));
        bothInPeriod = _mm_movemask_pd(inPeriod) == 3;
    }
    const __m128 bitsMoved = _mm_cmpneq_ps(current, _mm_load_ps(quantiserBits_));
    if (bothInPeriod && (_mm_movemask_ps(bitsMoved) & 3) == 0) {
        const __m128 levels = _mm_load_ps(levels_);
        const __m128 input = _mm_unpacklo_ps(_mm_set_ss(left), _mm_set_ss(right));
        const __m128 scaled = _mm_mul_ps(_mm_add_ps(input, _mm_load_ps(halfLevel_)), levels);
        // floor by truncation, one less where that rounded a negative fraction up. From 2^23
        // on floats are whole and truncation keeps them; from 2^31 on (and for NaN) the
        // conversion answers its overflow value, and the lanes take the general way (inputs
        // from the engine, limited to +-1000, stay below 2^26).
        const __m128i whole = _mm_cvttps_epi32(scaled);
        const __m128i overflow =
            _mm_cmpeq_epi32(whole, _mm_load_si128(reinterpret_cast<const __m128i*>(kOverflow)));
        if ((_mm_movemask_ps(_mm_castsi128_ps(overflow)) & 3) == 0) {
            if (!holdsEverySample_) _mm_store_pd(phase_, _mm_sub_pd(phase, one));
            // The step down is taken beside the comparison, not after it: the quantiser lies
            // on the path from input to output.
            const __m128 truncated = _mm_cvtepi32_ps(whole);
            const __m128 below = _mm_sub_ps(truncated, _mm_load_ps(kUnit));
            const __m128 roundedUp = _mm_cmpgt_ps(truncated, scaled);
            const __m128 floored =
                _mm_or_ps(_mm_and_ps(roundedUp, below), _mm_andnot_ps(roundedUp, truncated));
            const __m128 held = stepsExact_ ? _mm_mul_ps(floored, _mm_load_ps(levelStep_))
                                            : _mm_div_ps(floored, levels);
            _mm_store_ps(held_, held);
            left = _mm_cvtss_f32(held);
            right = _mm_cvtss_f32(_mm_shuffle_ps(held, held, 1));
            return;
        }
    }
    if (holdsEverySample_) advancePhases();
#else
    advancePhases();
#endif
    processLanes(left, right);
}

void LoFi::processRun(float* left, float* right, int count) {
    const int done = quantiseRun(left, right, count);
    processEach(*this, left + done, right + done, count - done);
}

int LoFi::quantiseRun(float* left, float* right, int count) {
#if defined(__SSE2__)
    // processSample's common case keeps no state but the held sample, which the last sample,
    // always left to processSample, sets as the calls one by one would.
    if (!holdsEverySample_ || rampsMoving_ || ramps_.current[kBitsLeft] != quantiserBits_[0] ||
        ramps_.current[kBitsRight] != quantiserBits_[1]) {
        return 0;
    }
    constexpr int kLanes = 4;
    const int groups = (count - 1) / kLanes;
    float* channels[2] = {left, right};
    const __m128i overflow = _mm_set1_epi32(INT32_MIN);
    const __m128 unit = _mm_set1_ps(1.0f);
    for (int group = 0; group < groups; ++group) {
        __m128 held[2];
        bool overflowed = false;
        for (int lane = 0; lane < 2; ++lane) {
            const __m128 levels = _mm_set1_ps(levels_[lane]);
            const __m128 input = _mm_loadu_ps(channels[lane] + group * kLanes);
            const __m128 scaled =
                _mm_mul_ps(_mm_add_ps(input, _mm_set1_ps(halfLevel_[lane])), levels);
            const __m128i whole = _mm_cvttps_epi32(scaled);
            overflowed =
                overflowed || _mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(whole, overflow)));
            const __m128 truncated = _mm_cvtepi32_ps(whole);
            const __m128 roundedUp = _mm_cmpgt_ps(truncated, scaled);
            const __m128 floored = _mm_or_ps(_mm_and_ps(roundedUp, _mm_sub_ps(truncated, unit)),
                                             _mm_andnot_ps(roundedUp, truncated));
            held[lane] = stepsExact_ ? _mm_mul_ps(floored, _mm_set1_ps(levelStep_[lane]))
                                     : _mm_div_ps(floored, levels);
        }
        if (overflowed) {
            // processSample's other way, sample by sample, for these four
            processEach(*this, left + group * kLanes, right + group * kLanes, kLanes);
            continue;
        }
        _mm_storeu_ps(left + group * kLanes, held[0]);
        _mm_storeu_ps(right + group * kLanes, held[1]);
    }
    return groups * kLanes;
#else
    (void)left;
    (void)right;
    (void)count;
    return 0;
#endif
}

}  // namespace kirra
