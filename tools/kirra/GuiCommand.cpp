// kirra gui [IN.wav]: the plug-in's editor in a window of the host's own, handed to the editor
// as a DAW hands its plug-in windows, while the input (or the demo) loops through the plug-in in
// real time on an audio thread. The host calls the editor's idle as hosts do; closing the window
// ends the command.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "kirra/Commands.h"
#include "kirra/DemoSignal.h"

namespace host {

namespace {

// Loops the input through the plug-in block by block, each block due when its audio would
// have been heard.
void playLoop(PluginHost& plugin, const AudioBuffer& input, int blockSize,
              std::atomic<bool>& stop) {
    const size_t frames = input.frames();
    const size_t block = static_cast<size_t>(blockSize);
    std::vector<float> in[4];
    std::vector<float> out[2];
    for (auto& channel : in)
        channel.assign(block, 0.0f);
    for (auto& channel : out)
        channel.assign(block, 0.0f);
    const auto blockTime = std::chrono::duration<double>(block / input.sampleRate);
    auto due = std::chrono::steady_clock::now();
    size_t position = 0;
    while (!stop) {
        for (size_t i = 0; i < block; ++i) {
            size_t frame = (position + i) % frames;
            in[0][i] = input.channels[0][frame];
            in[1][i] = input.channels[std::min<size_t>(1, input.channels.size() - 1)][frame];
        }
        position = (position + block) % frames;
        float* inputs[4] = {in[0].data(), in[1].data(), in[2].data(), in[3].data()};
        float* outputs[2] = {out[0].data(), out[1].data()};
        plugin.process(inputs, outputs, static_cast<int32_t>(block));
        due += std::chrono::duration_cast<std::chrono::steady_clock::duration>(blockTime);
        std::this_thread::sleep_until(due);
    }
}

}  // namespace

int runGui(const Options& options) {
    if (options.positional.size() > 1) {
        std::fprintf(stderr, "kirra: gui wants [IN.wav]\n");
        return 2;
    }
    std::string error;
    AudioBuffer input;
    if (options.positional.empty()) {
        input = makeDemoSignal(options.sampleRate > 0 ? options.sampleRate : 44100.0);
    } else if (!readAudioFile(options.positional[0], input, error)) {
        std::fprintf(stderr, "kirra: %s\n", error.c_str());
        return 1;
    }
    if (input.frames() == 0) {
        std::fprintf(stderr, "kirra: the input holds no audio\n");
        return 1;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "kirra: gui needs an X display\n");
        return 1;
    }
    // The editor asks for another size when its zoom changes; the window follows on this
    // thread, which alone talks to the display.
    std::atomic<int> requestedWidth{0};
    std::atomic<int> requestedHeight{0};
    HostOptions hostOptions;
    hostOptions.sizeWindow = [&](int newWidth, int newHeight) {
        if (newWidth <= 0 || newHeight <= 0) return false;
        requestedHeight = newHeight;
        requestedWidth = newWidth;
        return true;
    };
    PluginHost plugin(hostOptions);
    if (!loadPlugin(options, plugin, input.sampleRate) || !applySettingsOrFail(plugin, options)) {
        XCloseDisplay(display);
        return 1;
    }
    vst::ERect* rect = nullptr;
    if (plugin.dispatch(vst::effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr) {
        std::fprintf(stderr, "kirra: the plug-in has no editor\n");
        XCloseDisplay(display);
        return 1;
    }
    const int width = rect->right - rect->left;
    const int height = rect->bottom - rect->top;
    const int screen = DefaultScreen(display);
    Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, width, height,
                                        0, 0, BlackPixel(display, screen));
    std::string title = "kirra: " + plugin.programName();
    XStoreName(display, window, title.c_str());
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    XSync(display, False);

    if (plugin.dispatch(vst::effEditOpen, 0, 0, reinterpret_cast<void*>(window)) == 0) {
        std::fprintf(stderr, "kirra: the editor did not open\n");
        XDestroyWindow(display, window);
        XCloseDisplay(display);
        return 1;
    }
    plugin.resume();
    std::atomic<bool> stop{false};
    std::thread audio([&] { playLoop(plugin, input, options.blockSize, stop); });
    if (!options.quiet) std::printf("editor open; close the window to end\n");

    const auto end = std::chrono::steady_clock::now() +
                     std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                         std::chrono::duration<double>(options.seconds));
    bool running = true;
    while (running) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ClientMessage &&
                static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow) {
                running = false;
            }
            if (event.type == DestroyNotify) running = false;
        }
        if (int newWidth = requestedWidth.exchange(0); newWidth > 0)
            XResizeWindow(display, window, newWidth, requestedHeight.load());
        plugin.dispatch(vst::effEditIdle);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        if (options.secondsGiven && std::chrono::steady_clock::now() >= end) running = false;
    }
    plugin.dispatch(vst::effEditClose);
    stop = true;
    audio.join();
    plugin.suspend();
    XDestroyWindow(display, window);
    XCloseDisplay(display);
    return 0;
}

}  // namespace host
