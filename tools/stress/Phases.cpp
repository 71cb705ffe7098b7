#include "Phases.h"

#ifdef KIRRA_STRESS_EDITOR
#include <X11/Xlib.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstring>
#include <random>
#include <thread>

#include "modules/ModuleCatalogue.h"
#include "modules/ModuleMath.h"

namespace stress {

namespace {

// Type parameters are found by their names, "OP1 type" .. "MOD4 type".
// The chunk's current bank and preset, as a host that selects a stored program rewrites them.
constexpr size_t kChunkBankOffset = 8;
constexpr size_t kChunkPresetOffset = 12;

using Clock = std::chrono::steady_clock;

std::string parameterName(StressHost& host, int index) {
    char name[256] = {};
    host.dispatch(vst::effGetParamName, index, 0, name);
    return name;
}

// The host parameters that choose a module type: operator slots first.
std::vector<int> typeParameters(StressHost& host) {
    std::vector<int> operators;
    std::vector<int> modulators;
    for (int index = 0; index < host.effect()->numParams; ++index) {
        const std::string name = parameterName(host, index);
        if (name.size() < 5 || name.compare(name.size() - 5, 5, " type") != 0) continue;
        (name.rfind("OP", 0) == 0 ? operators : modulators).push_back(index);
    }
    operators.insert(operators.end(), modulators.begin(), modulators.end());
    return operators;
}

// Runs `step` every `period` until stop.
template <typename Step>
void every(std::chrono::milliseconds period, const std::atomic<bool>& stop, Step step) {
    auto due = Clock::now();
    while (!stop.load()) {
        step();
        due += period;
        std::this_thread::sleep_until(due);
    }
}

// Picks a slot and a module type for it; operator slots come first among `types`.
void changeType(StressHost& host, const std::vector<int>& types, std::mt19937& random) {
    if (types.empty()) return;
    const size_t slot = random() % types.size();
    const bool isOperator = slot < types.size() / 2;
    const unsigned typeCount =
        isOperator ? unsigned{kirra::kOperatorTypeCount} : unsigned{kirra::kModulatorTypeCount};
    const int type = static_cast<int>(random() % typeCount);
    host.effect()->setParameter(host.effect(), types[slot],
                                kirra::indexToValue(type, kirra::kModuleTypeStates));
}

bool idle(StressHost& /*host*/, const std::atomic<bool>& stop, std::string& /*skipped*/) {
    while (!stop.load())
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return true;
}

bool types(StressHost& host, const std::atomic<bool>& stop, std::string& /*skipped*/) {
    std::mt19937 random(1);
    const std::vector<int> types = typeParameters(host);
    every(std::chrono::milliseconds(20), stop, [&] { changeType(host, types, random); });
    return true;
}

bool programs(StressHost& host, const std::atomic<bool>& stop, std::string& skipped) {
    void* data = nullptr;
    const auto size = static_cast<int32_t>(host.dispatch(vst::effGetChunk, 0, 0, &data));
    if (data == nullptr || size < static_cast<int32_t>(kChunkPresetOffset + 4)) {
        skipped = "the plug-in gives no state chunk";
        return false;
    }
    std::vector<uint8_t> chunk(static_cast<const uint8_t*>(data),
                               static_cast<const uint8_t*>(data) + size);
    std::mt19937 random(2);
    every(std::chrono::milliseconds(50), stop, [&] {
        const int32_t bank = static_cast<int32_t>(random() % 3);
        const int32_t preset = static_cast<int32_t>(random() % 64);
        std::memcpy(chunk.data() + kChunkBankOffset, &bank, 4);
        std::memcpy(chunk.data() + kChunkPresetOffset, &preset, 4);
        host.dispatch(vst::effSetChunk, 0, size, chunk.data());
    });
    return true;
}

bool editor(StressHost& host, const std::atomic<bool>& stop, std::string& skipped) {
#ifndef KIRRA_STRESS_EDITOR
    (void)host;
    (void)stop;
    skipped = "built without the editor";
    return false;
#else
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        skipped = "no X display";
        return false;
    }
    const int screen = DefaultScreen(display);
    Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, 830, 335, 0, 0,
                                        BlackPixel(display, screen));
    XMapWindow(display, window);
    XSync(display, False);
    if (host.dispatch(vst::effEditOpen, 0, 0, reinterpret_cast<void*>(window)) == 0) {
        skipped = "the editor did not open";
    } else {
        std::mt19937 random(3);
        const std::vector<int> types = typeParameters(host);
        every(std::chrono::milliseconds(20), stop, [&] {
            while (XPending(display) > 0) {
                XEvent event;
                XNextEvent(display, &event);
            }
            changeType(host, types, random);
            host.dispatch(vst::effEditIdle);
        });
        host.dispatch(vst::effEditClose);
    }
    XDestroyWindow(display, window);
    XCloseDisplay(display);
    return skipped.empty();
#endif
}

template <bool kWithTypes>
bool storm(StressHost& host, const std::atomic<bool>& stop, std::string& /*skipped*/) {
    std::mt19937 random(kWithTypes ? 4 : 5);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    const std::vector<int> types = typeParameters(host);
    std::vector<int> indices;
    for (int index = 0; index < host.effect()->numParams; ++index) {
        if (kWithTypes || std::find(types.begin(), types.end(), index) == types.end())
            indices.push_back(index);
    }
    while (!stop.load()) {
        const int index = indices[random() % indices.size()];
        host.effect()->setParameter(host.effect(), index, value(random));
    }
    return true;
}

}  // namespace

const std::vector<Phase>& phases() {
    static const std::vector<Phase> all = {
        {"idle", "nothing else", idle},
        {"types", "a new module type in a slot every 20 ms", types},
        {"programs", "a factory program through setChunk every 50 ms", programs},
        {"editor", "the same type changes with the editor open and idling", editor},
        {"storm", "random setParameter on every host parameter", storm<true>},
        {"storm-no-types", "the same without the eight type parameters", storm<false>},
    };
    return all;
}

}  // namespace stress
