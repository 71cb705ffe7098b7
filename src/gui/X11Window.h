#pragma once
// The editor's window on X11: a child of the window the host hands over (or a top-level window
// when the host hands none), on a display connection of its own, with a thread of its own that
// pumps the events, ticks the client and redraws. Linux hosts call the editor's idle rarely or
// not at all, so nothing here waits for them. The window is the frame's size at its zoom, and
// follows when the zoom changes; pointer events reach the frame in 100 % pixels.
//
// Threads: the frame belongs to the window thread from construction to destruction; the client
// is ticked on that thread. Construction and destruction happen on the caller's thread, the
// latter after the window thread has stopped.

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "gui/Geometry.h"
#include "gui/Image.h"

namespace kirra::gui {

class Frame;

class WindowClient {
  public:
    // On the window thread, after the pending events and before the redraw, every few
    // milliseconds (at most kTickMs apart).
    virtual void windowTick(int64_t nowMs) = 0;

  protected:
    ~WindowClient() = default;
};

class X11Window {
  public:
    static constexpr int kTickMs = 20;

    // Null, with the reason, when there is no X display or the parent is not a window.
    static std::unique_ptr<X11Window> open(unsigned long parentWindow, Frame& frame,
                                           WindowClient& client, std::string& error);
    ~X11Window();
    X11Window(const X11Window&) = delete;
    X11Window& operator=(const X11Window&) = delete;

    unsigned long windowId() const { return window_; }

  private:
    struct Connection;

    X11Window(Frame& frame, WindowClient& client);
    bool create(unsigned long parentWindow, std::string& error);
    void run();
    void handleEvent(void* event);
    void paint();
    void takeKeyboardFocusWhenTyping();
    // The back buffer of the frame's device size and the server's view of it.
    bool createBackBuffer();
    void releaseBackBuffer();
    void setSizeHints();
    // A frame whose zoom changed gets a window and a back buffer of its new size.
    void followZoom();
    Point toFrame(int x, int y) const;

    Frame& frame_;
    WindowClient& client_;
    std::unique_ptr<Connection> connection_;
    unsigned long window_ = 0;
    Image backBuffer_;
    int exposedLeft_ = 0, exposedTop_ = 0, exposedRight_ = 0, exposedBottom_ = 0;
    bool windowGone_ = false;
    bool keyboardTaken_ = false;
    // double-click detection
    unsigned long lastPressTime_ = 0;
    unsigned int lastPressButton_ = 0;
    int lastPressX_ = -100, lastPressY_ = -100;

    int wakePipe_[2] = {-1, -1};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace kirra::gui
