// kirra_stress: a plug-in under the load a DAW puts on it. One thread processes 64-sample blocks
// at 48 kHz back to back, as an audio thread, while another thread acts as the host's user
// interface, phase after phase (see Phases.cpp). For each phase it prints the blocks processed,
// the median, 99.9th percentile and longest block time, the blocks over the deadline, and what the
// audio thread did that it must not: lock acquisitions (and the longest wait for one) and
// allocations. With --check it fails when the audio thread took a lock or allocated at all, which
// does not depend on how busy the machine is.

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "Phases.h"
#include "StressHost.h"
#include "ThreadProbe.h"

namespace {

constexpr float kSampleRate = 48000.0f;
constexpr int kBlockSize = 64;

struct Options {
    std::string plugin;
    double seconds = 10.0;
    bool check = false;
};

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--check") {
            options.check = true;
        } else if (argument == "--seconds" && i + 1 < argc) {
            options.seconds = std::atof(argv[++i]);
        } else if (argument == "--plugin" && i + 1 < argc) {
            options.plugin = argv[++i];
        } else {
            return false;
        }
    }
    return !options.plugin.empty() && options.seconds > 0.0;
}

double microseconds(int64_t ns) {
    return static_cast<double>(ns) / 1000.0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: kirra_stress --plugin PATH [--seconds PER_PHASE] [--check]\n");
        return 2;
    }
    stress::StressHost host;
    std::string error;
    if (!host.load(options.plugin, kSampleRate, kBlockSize, error)) {
        std::fprintf(stderr, "kirra_stress: %s\n", error.c_str());
        return 1;
    }
    const int64_t deadlineNs = static_cast<int64_t>(1e9 * kBlockSize / kSampleRate);
    std::printf("%d-sample blocks at %.0f Hz back to back, deadline %.0f us, %.1f s a phase\n",
                kBlockSize, kSampleRate, microseconds(deadlineNs), options.seconds);
    std::printf("%-15s %8s %8s %8s %9s %6s %6s %9s %7s\n", "phase", "blocks", "median", "p99.9",
                "max(us)", "late", "locks", "wait(us)", "allocs");
    int failures = 0;
    int passes = 0;
    for (const stress::Phase& phase : stress::phases()) {
        stress::BlockTimes times;
        times.setDeadline(deadlineNs);
        std::atomic<bool> stop{false};
        stress::takeAudioThreadCounts();
        std::thread audio([&] { host.runAudio(stop, times); });
        std::string skipped;
        std::atomic<bool> acting{true};
        std::thread user([&] {
            phase.act(host, stop, skipped);
            acting = false;
        });
        const auto end = std::chrono::steady_clock::now() +
                         std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                             std::chrono::duration<double>(options.seconds));
        while (acting && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        stop = true;
        user.join();
        audio.join();
        const stress::ProbeCounts counts = stress::takeAudioThreadCounts();
        if (!skipped.empty()) {
            std::printf("%-15s skipped: %s\n", phase.name.c_str(), skipped.c_str());
            continue;
        }
        std::printf("%-15s %8llu %8.0f %8.0f %9.0f %6llu %6llu %9.1f %7llu\n", phase.name.c_str(),
                    static_cast<unsigned long long>(times.count()),
                    microseconds(times.quantileNs(0.5)), microseconds(times.quantileNs(0.999)),
                    microseconds(times.longestNs()), static_cast<unsigned long long>(times.late()),
                    static_cast<unsigned long long>(counts.locks),
                    microseconds(counts.longestWaitNs),
                    static_cast<unsigned long long>(counts.allocations));
        const bool clean = counts.locks == 0 && counts.allocations == 0 && times.count() > 0;
        clean ? ++passes : ++failures;
    }
    if (!options.check) return 0;
    std::printf("%d passed, %d failed\n", passes, failures);
    return failures == 0 ? 0 : 1;
}
