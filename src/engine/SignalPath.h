#pragma once
// The path one sample takes once the plug-in has read it from the host's buffers: the taps the
// modules listen to, the modulators, the four operators fed through the routing matrix with
// their mid/side coding, inversion and bypass ramps, the wet sum, the dry delay, the mix and
// output levels, the output limiter and the meters' peaks.
//
// The plug-in keeps the block-level work (buffers, host time, events, the control-update
// cadence) and calls `processSample` once per frame with the modules in their slots; it is
// inlined into that loop, so the order of the arithmetic is the loop's own, and the slots are
// passed rather than held so that the compiler sees both as parts of one object.

#include <atomic>
#include <cmath>

#include "engine/DryDelay.h"
#include "engine/MainSection.h"
#include "engine/ModuleSlots.h"
#include "engine/PeakLimiter.h"
#include "engine/RoutingMatrix.h"
#include "modules/ModuleMath.h"
#include "modules/Relaxed.h"

namespace kirra {

class SignalPath {
  public:
    static constexpr int kSlots = param::kSlotCount;
    static constexpr int kMeters = 4;  // input left, right, output left, right

    // The peaks of the samples processed since the block began.
    struct BlockPeaks {
        float values[kMeters] = {};
    };

    SignalPath();

    // Settings from the parameter dispatch, on any thread; the audio thread reads them at its next
    // sample or control period.
    MainSection& main() { return main_; }
    const MainSection& main() const { return main_; }
    RoutingMatrix& routing() { return routing_; }
    void setMidSideBits(int bits) { midSideBits_ = bits; }
    void setInversionBits(int bits);
    void setOperatorBypass(int slot, bool bypassed) {
        operatorEnableTarget_[slot] = bypassed ? 0.0f : 1.0f;
    }
    void setModulatorBypass(int slot, bool bypassed) {
        modulatorEnableTarget_[slot] = bypassed ? 0.0f : 1.0f;
    }
    void setDryDelay(int samples) { dryDelay_.setDelay(samples); }
    int getDryDelay() const { return dryDelay_.getDelay(); }
    // The limiter's coefficients follow at the start of the next block (followLimiterMode).
    void setLimiterMode(int mode) {
        // Modes without a release of their own keep the last one set, as the limiter does.
        const float release = PeakLimiter::releaseBaseMsOf(mode);
        if (release > 0.0f) limiterRelease_ = release;
        limiterMode_ = mode;
    }
    // Audio thread, or with no block running.
    void followLimiterMode() {
        const int mode = limiterMode_;
        const float release = limiterRelease_;
        if (mode != limiter_.getMode() || release != limiter_.getReleaseBaseMs()) {
            limiter_.configure(mode, release);
        }
    }
    void setSampleRate(float sampleRate) { limiter_.setSampleRate(sampleRate); }
    // How many samples the output lags the input on the dry path: the dry delay (a ring that
    // hands back the sample written exactly that many samples ago, 0 passing straight through)
    // plus, with the limiter on, its look-ahead (the limiter hands out the sample it stored one
    // look-ahead ago). The start-up program stores dry-delay state 12, 3 samples below 80 kHz,
    // so an impulse leaves it 3 + 128 = 131 samples late at 44.1 kHz; the serial chain's wet
    // path has the same 3 samples, one per operator-to-operator link. The wet path's own delay
    // follows the routing and the modules, and the dry delay is the setting that declares it.
    static int latencySamples(int dryDelaySamples, int limiterMode, float sampleRate) {
        return dryDelaySamples + (limiterMode != 0 ? PeakLimiter::lookAheadFor(sampleRate) : 0);
    }

    // Control rate, in the order the plug-in's control update calls them.
    void resetModulation() {
        routing_.resetModulation();
        main_.resetModulation();
    }
    void updateRamps() {
        routing_.updateRamps();
        main_.updateRamps();
        for (int slot = 0; slot < kSlots; ++slot) {
            operatorEnable_[slot].setTarget(operatorEnableTarget_[slot]);
            modulatorEnable_[slot].setTarget(modulatorEnableTarget_[slot]);
        }
        followRestingControls();
    }

    // Everything back to silence with the ramps on their targets (suspend and resume).
    void reset();
    // Operator outputs of the last sample to zero, so a new program starts without feedback.
    void clearOperatorOutputs();

    // Per sample, before events and the control update: the input level applies to the sample
    // read now, and the levels move one step toward their targets.
    float inputGain(int channel) const { return main_.gain(MainSection::kInputLevel, channel); }
    void smoothLevels(float coefficient) { main_.smooth(coefficient); }
    void smoothLevels(float coefficient, int samples) { main_.smooth(coefficient, samples); }
    // One sample through `modules` up to the limiter: the main input after the input level and
    // the sidechain as it came in; answers the sample the limiter takes next and raises the
    // block's input peaks.
    inline void processSample(ModuleSlots& modules, float inLeft, float inRight,
                              float sidechainLeft, float sidechainRight, float& outLeft,
                              float& outRight, BlockPeaks& peaks);
    // Operators in turn: when no operator feeds itself or an earlier slot, no module reads the
    // taps and no routing gain or bypass ramp moves, each operator's input depends only on the
    // input and on earlier slots' outputs of the sample before. Then, up to the next control
    // update, the path may run the first operator over the whole run, then the second and so
    // on, with the same arithmetic in the same order as sample by sample. The plug-in asks
    // canRunOperatorsInTurn after a sample's events and control update; if it answers true, it
    // calls advanceRun for the run's samples (where it would call processSample for each), reads
    // each later sample's input with the input gain advanceRun kept for it, and then calls
    // processRun with the run's inputs. processRun works four samples at a time: its input
    // and output buffers have room for kRunSlack values past the run, whose contents it reads
    // and overwrites freely.
    static constexpr int kMaxRun = 64;
    static constexpr int kRunSlack = 3;
    bool canRunOperatorsInTurn(ModuleSlots& modules) const {
        if (!feedsForwardAtRest_ || enablesMoving_ || modules.tapsRead() || !inTurnAllowed_)
            return false;
        // Sample by sample, the operators' own chains from one sample to the next overlap in
        // the processor; in turn they cannot. Running in turn pays where it saves the calls
        // and the per-sample matrix around a single operator that works.
        int working = 0;
        for (int slot = 0; slot < kSlots; ++slot) {
            if (!isSilenced(operatorEnable_[slot]) && !modules.operatorIn(slot).passesThrough())
                ++working;
        }
        return working <= 1;
    }
    void allowOperatorsInTurn(bool allowed) { inTurnAllowed_ = allowed; }
    void advanceRun(ModuleSlots& modules, int count);
    // The input gain of the run's sample `index` > 0.
    float runInputGain(int channel, int index) const {
        return runInput_[channel][runGainsHeld_ ? 0 : index - 1];
    }
    void processRun(ModuleSlots& modules, const float* inLeft, const float* inRight, int count,
                    float* outLeft, float* outRight, BlockPeaks& peaks);

    // The limiter over a run of samples from processSample, in place, raising the output peaks.
    // Nothing else reads the limiter's state and its settings change only between blocks
    // (followLimiterMode), so it may run behind the rest of the path by a run.
    inline void limitOutputs(float* left, float* right, int count, BlockPeaks& peaks);

    // Meters: a block's peaks are merged into what the editor reads, which restarts on reading.
    void publishPeaks(BlockPeaks peaks) {
        for (int meter = 0; meter < kMeters; ++meter) {
            std::atomic<float>& shared = peaks_[meter];
            const float local = peaks.values[meter];
            float current = shared.load(std::memory_order_relaxed);
            while (local > current &&
                   !shared.compare_exchange_weak(current, local, std::memory_order_relaxed)) {
            }
        }
    }
    void takePeaks(float peaks[kMeters]);

    // A non-finite sample from outside would otherwise stay in feedback paths and filter states.
    static float finiteOrZero(float sample) { return std::isfinite(sample) ? sample : 0.0f; }

  private:
    // Per sample, what does not depend on the operators: the modulators, then one step of every
    // level, routing and bypass ramp.
    inline void advanceControls(ModuleSlots& modules);
    // After the ramps took new targets: whether a bypass ramp will move and whether the routing
    // lets the operators run in turn until the next update.
    void followRestingControls();
    // The operator in `slot` if it is to run: fully bypassed, its output is weighted by zero and
    // its work is skipped. It starts again from silence rather than from what it held when it
    // stopped.
    Operator* workingOperator(ModuleSlots& modules, int slot) {
        if (isSilenced(operatorEnable_[slot])) {
            operatorResting_[slot] = true;
            return nullptr;
        }
        Operator& op = modules.operatorIn(slot);
        if (operatorResting_[slot]) {
            operatorResting_[slot] = false;
            op.resetState();
        }
        return &op;
    }

    // A bypass ramp that has reached zero and stays there.
    static bool isSilenced(const LinearRamp& enable) {
        return enable.current == 0.0f && enable.target == 0.0f;
    }
    static constexpr float kHalfSqrt2 = 0.70710677f;  // sqrt(1/2) in single precision
    static void encodeMidSide(float& a, float& b) {
        float mid = (a + b) * kHalfSqrt2;
        float side = (a - b) * kHalfSqrt2;
        a = mid;
        b = side;
    }

    // levels, matrix and per-slot switches (settings stored from any thread)
    MainSection main_;
    RoutingMatrix routing_;
    Relaxed<int> midSideBits_ = 0;  // bit n codes operator n's input, bit n + 4 its output
    Relaxed<float> inversion_[kSlots] = {1.0f, 1.0f, 1.0f, 1.0f};
    LinearRamp operatorEnable_[kSlots];
    LinearRamp modulatorEnable_[kSlots];
    Relaxed<float> operatorEnableTarget_[kSlots] = {1.0f, 1.0f, 1.0f, 1.0f};
    Relaxed<float> modulatorEnableTarget_[kSlots] = {1.0f, 1.0f, 1.0f, 1.0f};
    Relaxed<int> limiterMode_ = PeakLimiter::kDefaultMode;
    Relaxed<float> limiterRelease_ = PeakLimiter::releaseBaseMsOf(PeakLimiter::kDefaultMode);
    bool enablesMoving_ = true;  // false once a step would move none of the bypass ramps
    bool feedsForwardAtRest_ = false;
    bool inTurnAllowed_ = true;
    // modules skipped while bypassed, reset before they run again
    bool operatorResting_[kSlots] = {};
    bool modulatorResting_[kSlots] = {};

    // state carried from sample to sample
    alignas(16) float operatorOut_[2][kSlots] = {};
    float wetSum_[2] = {};
    DryDelay dryDelay_;
    PeakLimiter limiter_;

    // the input gain after, and the mix and output gains of, each sample of a run of operators
    // in turn
    alignas(16) float runInput_[2][kMaxRun] = {};
    alignas(16) float runMix_[2][kMaxRun] = {};
    alignas(16) float runOutput_[2][kMaxRun] = {};
    bool runGainsHeld_ = false;  // no gain moves: each holds the first sample's value

    // meters, merged from each block's peaks
    std::atomic<float> peaks_[kMeters];
};

[[gnu::always_inline]] inline void SignalPath::advanceControls(ModuleSlots& modules) {
    ModuleSlots::Outputs& modulatorOut = modules.modulatorOutputs();
    for (int slot = 0; slot < kSlots && modules.anyModulatorPresent(); ++slot) {
        // An empty slot's output stays at the zero its Empty would write.
        if (modules.isModulatorEmpty(slot)) continue;
        if (isSilenced(modulatorEnable_[slot])) {
            // A bypassed modulator's output is multiplied by zero: it need not run at all.
            modulatorOut[0][slot] = 0.0f;
            modulatorOut[1][slot] = 0.0f;
            modulatorResting_[slot] = true;
            continue;
        }
        Modulator& modulator = modules.modulatorIn(slot);
        if (modulatorResting_[slot]) {
            modulatorResting_[slot] = false;
            modulator.resetState();
        }
        modulator.generateSample(modulatorOut[0][slot], modulatorOut[1][slot]);
        modulatorOut[0][slot] *= modulatorEnable_[slot].current;
        modulatorOut[1][slot] *= modulatorEnable_[slot].current;
    }

    main_.advanceRamps();
    routing_.advanceRamps();
    if (enablesMoving_) {
        bool moved = false;
        for (int slot = 0; slot < kSlots; ++slot)
            moved |= operatorEnable_[slot].advanceMoves();
        for (int slot = 0; slot < kSlots; ++slot)
            moved |= modulatorEnable_[slot].advanceMoves();
        enablesMoving_ = moved;
    }
}

[[gnu::always_inline]] inline void SignalPath::processSample(ModuleSlots& modules, float inLeft,
                                                             float inRight, float sidechainLeft,
                                                             float sidechainRight, float& outLeft,
                                                             float& outRight, BlockPeaks& peaks) {
    // Taps, for the modules that read them: this sample's input and sidechain, the previous
    // sample's operator outputs.
    if (modules.tapsRead()) {
        ModuleSlots::Taps& taps = modules.taps();
        taps[0][kTapInput] = inLeft;
        taps[1][kTapInput] = inRight;
        for (int slot = 0; slot < kSlots; ++slot) {
            taps[0][kTapOperator1 + slot] = operatorOut_[0][slot];
            taps[1][kTapOperator1 + slot] = operatorOut_[1][slot];
        }
        taps[0][kTapWetSum] = wetSum_[0];
        taps[1][kTapWetSum] = wetSum_[1];
        taps[0][kTapSidechain] = sidechainLeft;
        taps[1][kTapSidechain] = sidechainRight;
    }

    advanceControls(modules);

    // Every operator-to-operator link reads the previous sample: one sample of delay each.
    alignas(16) float opInLeft[kSlots];
    alignas(16) float opInRight[kSlots];
    routing_.operatorInputs(0, inLeft, operatorOut_[0], opInLeft);
    routing_.operatorInputs(1, inRight, operatorOut_[1], opInRight);

    // One read of the bits a sample: another thread may store them at any time.
    const int midSideBits = midSideBits_;
    float wetLeft = 0.0f;
    float wetRight = 0.0f;
    for (int slot = 0; slot < kSlots; ++slot) {
        float codedLeft = opInLeft[slot];
        float codedRight = opInRight[slot];
        if ((midSideBits >> slot) & 1) encodeMidSide(codedLeft, codedRight);
        float a = codedLeft;
        float b = codedRight;
        if (Operator* op = workingOperator(modules, slot)) {
            if (!op->passesThrough()) op->processSample(a, b);
        }
        if ((midSideBits >> (slot + 4)) & 1) encodeMidSide(a, b);  // the same matrix decodes
        float enable = operatorEnable_[slot].current;
        float wetShare = enable * inversion_[slot];
        float left = wetShare * a + (1.0f - enable) * codedLeft;
        float right = wetShare * b + (1.0f - enable) * codedRight;
        operatorOut_[0][slot] = left;
        operatorOut_[1][slot] = right;
        RoutingMatrix::addLink(wetLeft, routing_.outputGain(0, slot), left);
        RoutingMatrix::addLink(wetRight, routing_.outputGain(1, slot), right);
    }
    wetSum_[0] = wetLeft;
    wetSum_[1] = wetRight;

    float dryLeft = inLeft;
    float dryRight = inRight;
    dryDelay_.process(dryLeft, dryRight);

    float mixLeft = main_.gain(MainSection::kMixLevel, 0);
    float mixRight = main_.gain(MainSection::kMixLevel, 1);
    float outputLeft =
        ((1.0f - mixLeft) * dryLeft + mixLeft * wetLeft) * main_.gain(MainSection::kOutputLevel, 0);
    float outputRight = ((1.0f - mixRight) * dryRight + mixRight * wetRight) *
                        main_.gain(MainSection::kOutputLevel, 1);
    // An operator that blew up must not take the limiter's envelopes with it.
    outLeft = finiteOrZero(outputLeft);
    outRight = finiteOrZero(outputRight);

    peaks.values[0] = maxOf(peaks.values[0], std::fabs(inLeft));
    peaks.values[1] = maxOf(peaks.values[1], std::fabs(inRight));
}

inline void SignalPath::limitOutputs(float* left, float* right, int count, BlockPeaks& peaks) {
    // A loop of its own: the envelopes' chain from sample to sample no longer holds up the
    // operators of the next sample.
    if (limiter_.isEnabled()) limiter_.processRun(left, right, count);
    for (int frame = 0; frame < count; ++frame) {
        peaks.values[2] = maxOf(peaks.values[2], std::fabs(left[frame]));
        peaks.values[3] = maxOf(peaks.values[3], std::fabs(right[frame]));
    }
}

}  // namespace kirra
