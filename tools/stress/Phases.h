#pragma once
// What the host's user-interface thread does to the plug-in during each phase of the stress run,
// while the audio thread processes. Each action runs until `stop`.

#include <atomic>
#include <string>
#include <vector>

#include "StressHost.h"

namespace stress {

struct Phase {
    std::string name;
    std::string description;
    // False when the phase cannot run here (no display for the editor), with the reason.
    bool (*act)(StressHost& host, const std::atomic<bool>& stop, std::string& skipped);
};

const std::vector<Phase>& phases();

}  // namespace stress
