#pragma once
// The processing times of one phase's blocks, in a histogram of microsecond bins that the audio
// thread fills without allocating, read once the phase is over.

#include <algorithm>
#include <cstdint>
#include <vector>

namespace stress {

class BlockTimes {
  public:
    static constexpr int64_t kBinNs = 1000;
    static constexpr size_t kBins = 200000;  // 200 ms; longer blocks land in the last bin

    BlockTimes() : bins_(kBins, 0) {}

    void record(int64_t ns) {
        const size_t bin =
            std::min(static_cast<size_t>(std::max<int64_t>(ns, 0) / kBinNs), kBins - 1);
        ++bins_[bin];
        ++count_;
        longestNs_ = std::max(longestNs_, ns);
        if (ns > deadlineNs_) ++late_;
    }
    void setDeadline(int64_t ns) { deadlineNs_ = ns; }

    uint64_t count() const { return count_; }
    uint64_t late() const { return late_; }
    int64_t longestNs() const { return longestNs_; }
    // The time below which the given fraction of blocks finished, to the bin.
    int64_t quantileNs(double fraction) const {
        const auto wanted = static_cast<uint64_t>(fraction * static_cast<double>(count_));
        uint64_t seen = 0;
        for (size_t bin = 0; bin < kBins; ++bin) {
            seen += bins_[bin];
            if (seen > wanted) return static_cast<int64_t>(bin + 1) * kBinNs;
        }
        return longestNs_;
    }

  private:
    std::vector<uint32_t> bins_;
    uint64_t count_ = 0;
    uint64_t late_ = 0;
    int64_t longestNs_ = 0;
    int64_t deadlineNs_ = INT64_MAX;
};

}  // namespace stress
