#pragma once
// An LV2 host in a class, as the tests need one: the bundle found through lilv as any host finds
// it, an instance with URI mapping and the block-length option, control ports held at their
// values, MIDI and transport events placed on the timeline, state saved and restored.

#include <lilv/lilv.h>

#include <string>
#include <vector>

#include "lv2/Lv2Plugin.h"
#include "lv2/options/options.h"
#include "support/InProcessHost.h"
#include "support/UridMap.h"

namespace testing_support {

class LilvHost {
  public:
    static LilvWorld* world();
    static const LilvPlugin* plugin();
    // LV2_PATH with only the build's bundle and the installed specifications.
    static std::string searchPath();

    // mapUris false: a host that offers no features at all.
    explicit LilvHost(double sampleRate = 44100.0, bool mapUris = true);
    ~LilvHost();
    LilvHost(const LilvHost&) = delete;
    LilvHost& operator=(const LilvHost&) = delete;

    LilvInstance* instance() { return instance_; }
    kirra::lv2::Lv2Plugin& adapter();
    kirra::Plugin& engine() { return adapter().plugin(); }
    UridMap& uris() { return uris_; }
    float& control(const std::string& symbol);
    float latency() const { return latency_; }
    // Leaves the event input or the latency port unconnected from the next run on.
    void disconnect(uint32_t port) { connected_[port] = false; }

    // Events at frames of the next `process`, counted from its start.
    void midi(size_t frame, uint8_t status, uint8_t data1, uint8_t data2);
    void position(size_t frame, double quarterNotes, double beatsPerMinute, double speed);
    // Activates on the first call; runs of `block` frames (the last may be shorter).
    Stereo process(const Stereo& input, size_t block);

    // Heap allocations made inside the plug-in's runs so far, on this thread.
    size_t runAllocations() const { return runAllocations_; }

    LilvState* saveState();
    void restoreState(const LilvState* state);

  private:
    struct Event {
        size_t frame;
        bool isMidi;
        uint8_t bytes[3];
        double quarterNotes, beatsPerMinute, speed;
    };
    void connectAll();
    void writeEvents(size_t start, size_t end);

    UridMap uris_;
    LilvInstance* instance_ = nullptr;
    bool active_ = false;
    std::vector<float> controls_;
    std::vector<bool> connected_;
    float latency_ = -1.0f;
    size_t runAllocations_ = 0;
    std::vector<Event> events_;
    std::vector<uint64_t> sequence_;  // the event port's buffer, 8-byte aligned
    static constexpr int32_t kMaxBlock = 4096;
    LV2_Options_Option options_[2] = {};
    LV2_Feature optionsFeature_{LV2_OPTIONS__options, options_};
    std::vector<const LV2_Feature*> features_;
};

}  // namespace testing_support
