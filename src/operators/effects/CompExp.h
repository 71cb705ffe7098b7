#pragma once
// Feed-forward dynamics: downward compression above a threshold or downward expansion below it,
// driven by a peak or RMS detector with its own attack and release, with manual or automatic
// makeup gain. The key signal is the slot's own input, an operator's output or the sidechain;
// the listen switch outputs the key. Left and right are detected and processed independently.

#include <atomic>

#include "modules/Operator.h"

namespace kirra {

class CompExp : public Operator {
  public:
    enum Position {
        kThreshold = 0,
        kRatio,
        kMakeup,
        kAutoMakeup,
        kType,
        kSource,
        kAttack,
        kRelease,
        kDetector,
        kListen,
        kPositionCount
    };
    enum CurveType { kCompress = 0, kExpand = 1 };
    enum KeySource { kOwnInput = 0, kSidechain = 5 };
    enum DetectorMode { kPeak = 0, kRms = 1 };

    CompExp(int slot, ModuleOwner* owner);

    void updateParameters() override;
    // Only a key from another operator or the sidechain comes through the taps.
    bool readsTaps() const override { return source_ != kOwnInput; }
    void snapToTargets() override;
    void resetState() override;
    void processSample(float& left, float& right) override;
    void processRun(float* left, float* right, int count) override {
        processEach(*this, left, right, count);
    }

    // Gain in dB the static curve applies at a detected level in dB, makeup included: what the
    // editor's curve plot draws (output level = level + gain).
    static float curveGainDb(const float* positionValues, float levelDb);
    // The level the detector read at the last control period, in dB, for the editor's plot
    // (channel 0 left, 1 right); any thread.
    float detectedLevelDb(int channel) const {
        return shownLevelDb_[channel].load(std::memory_order_relaxed);
    }

  private:
    struct Channel {
        // derived targets and ramps
        LinearRamp thresholdDb;
        LinearRamp ratio;
        LinearRamp makeupDb;
        // detector coefficients (per sample, applied without ramping)
        float attack = 1.0f;
        float release = 1.0f;
        // detector state: amplitude (peak) or power (RMS)
        float envelope = 1.0f;
    };
    void updateChannel(Channel& channel, const Relaxed<float>* copies);
    float processChannel(Channel& channel, float sample, float key);

    // switches, from the base values
    bool autoMakeup_ = true;
    int curve_ = kCompress;
    int source_ = kOwnInput;
    int detector_ = kRms;
    bool listen_ = false;
    // per-channel ramps, coefficients and detector
    Channel channelLeft_{};
    Channel channelRight_{};
    // the detectors' levels as the editor reads them, published at control rate
    std::atomic<float> shownLevelDb_[2] = {0.0f, 0.0f};
};

}  // namespace kirra
