#include "gui/X11Window.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <cairo.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <mutex>

#include "gui/Frame.h"
#include "gui/Timer.h"

namespace kirra::gui {

namespace {

// Xlib's error handler belongs to the whole process, and its default ends the process. While
// any editor window exists, errors on our own connections (a parent the host destroyed first,
// a focus request on a window not yet shown) are counted and ignored; errors on the host's
// connections go to the handler that was there before.
constexpr int kMaxConnections = 64;
std::atomic<Display*> ourDisplays[kMaxConnections];
std::atomic<int> errorCounts[kMaxConnections];
std::mutex handlerMutex;
int openConnections = 0;
XErrorHandler previousHandler = nullptr;

int slotOf(Display* display) {
    for (int slot = 0; slot < kMaxConnections; ++slot) {
        if (ourDisplays[slot].load() == display) return slot;
    }
    return -1;
}

int handleError(Display* display, XErrorEvent* error) {
    int slot = slotOf(display);
    if (slot >= 0) {
        errorCounts[slot].fetch_add(1);
        return 0;
    }
    return previousHandler != nullptr ? previousHandler(display, error) : 0;
}

// Registers a connection; false when too many are open at once.
bool registerDisplay(Display* display) {
    std::lock_guard<std::mutex> lock(handlerMutex);
    int slot = slotOf(nullptr);
    if (slot < 0) return false;
    errorCounts[slot].store(0);
    ourDisplays[slot].store(display);
    if (openConnections++ == 0) previousHandler = XSetErrorHandler(handleError);
    return true;
}

void unregisterDisplay(Display* display) {
    std::lock_guard<std::mutex> lock(handlerMutex);
    int slot = slotOf(display);
    if (slot < 0) return;
    ourDisplays[slot].store(nullptr);
    if (--openConnections == 0) {
        // Put back only if nobody replaced ours meanwhile.
        XErrorHandler current = XSetErrorHandler(previousHandler);
        if (current != handleError) XSetErrorHandler(current);
        previousHandler = nullptr;
    }
}

int errorCount(Display* display) {
    int slot = slotOf(display);
    return slot >= 0 ? errorCounts[slot].load() : 0;
}

int modifiersOf(unsigned int state) {
    int modifiers = 0;
    if (state & ShiftMask) modifiers |= kShift;
    if (state & ControlMask) modifiers |= kControl;
    if (state & Mod1Mask) modifiers |= kAlt;
    return modifiers;
}

int buttonBitOf(unsigned int button) {
    if (button == Button1) return kLeftButton;
    if (button == Button3) return kRightButton;
    if (button == Button2) return kMiddleButton;
    return 0;
}

int heldButtonsOf(unsigned int state) {
    int buttons = 0;
    if (state & Button1Mask) buttons |= kLeftButton;
    if (state & Button3Mask) buttons |= kRightButton;
    if (state & Button2Mask) buttons |= kMiddleButton;
    return buttons;
}

KeyEvent keyEventOf(XKeyEvent& xkey) {
    char text[16] = {};
    KeySym keysym = 0;
    int length = XLookupString(&xkey, text, sizeof(text) - 1, &keysym, nullptr);
    KeyEvent event;
    event.modifiers = modifiersOf(xkey.state);
    switch (keysym) {
        case XK_Return:
        case XK_KP_Enter:
            event.key = Key::kReturn;
            break;
        case XK_Escape:
            event.key = Key::kEscape;
            break;
        case XK_BackSpace:
            event.key = Key::kBackSpace;
            break;
        case XK_Delete:
        case XK_KP_Delete:
            event.key = Key::kDelete;
            break;
        case XK_Left:
        case XK_KP_Left:
            event.key = Key::kLeft;
            break;
        case XK_Right:
        case XK_KP_Right:
            event.key = Key::kRight;
            break;
        case XK_Up:
        case XK_KP_Up:
            event.key = Key::kUp;
            break;
        case XK_Down:
        case XK_KP_Down:
            event.key = Key::kDown;
            break;
        case XK_Page_Up:
        case XK_KP_Page_Up:
            event.key = Key::kPageUp;
            break;
        case XK_Page_Down:
        case XK_KP_Page_Down:
            event.key = Key::kPageDown;
            break;
        case XK_Home:
        case XK_KP_Home:
            event.key = Key::kHome;
            break;
        case XK_End:
        case XK_KP_End:
            event.key = Key::kEnd;
            break;
        case XK_Tab:
            event.key = Key::kTab;
            break;
        default:
            if ((event.modifiers & kControl) != 0 && keysym >= XK_a && keysym <= XK_z) {
                // With Control held the text is a control code; shortcuts want the letter.
                event.key = Key::kCharacter;
                event.character = static_cast<uint32_t>('a' + (keysym - XK_a));
            } else if ((event.modifiers & kControl) != 0 && keysym >= XK_A && keysym <= XK_Z) {
                event.key = Key::kCharacter;
                event.character = static_cast<uint32_t>('a' + (keysym - XK_A));
            } else if (length == 1) {
                event.key = Key::kCharacter;
                event.character = static_cast<unsigned char>(text[0]);
            }
            break;
    }
    return event;
}

// Presses of the same button this close in time and place make a double click.
constexpr unsigned long kDoubleClickMs = 400;
constexpr int kDoubleClickPixels = 4;

}  // namespace

struct X11Window::Connection {
    Display* display = nullptr;
    GC gc = nullptr;
    // The back buffer's pixels as the X server takes them (32-bit words, 24 bits of colour).
    XImage* image = nullptr;
    Atom deleteWindow = 0;
};

X11Window::X11Window(Frame& frame, WindowClient& client)
    : frame_(frame), client_(client), connection_(std::make_unique<Connection>()) {}

std::unique_ptr<X11Window> X11Window::open(unsigned long parentWindow, Frame& frame,
                                           WindowClient& client, std::string& error) {
    std::unique_ptr<X11Window> window(new X11Window(frame, client));
    if (!window->create(parentWindow, error)) return nullptr;
    window->thread_ = std::thread([raw = window.get()] { raw->run(); });
    return window;
}

bool X11Window::create(unsigned long parentWindow, std::string& error) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        error = "no X display";
        return false;
    }
    if (!registerDisplay(display)) {
        XCloseDisplay(display);
        error = "too many editor windows";
        return false;
    }
    connection_->display = display;
    const int width = frame_.deviceWidth();
    const int height = frame_.deviceHeight();
    const int screen = DefaultScreen(display);
    Window parent = parentWindow != 0 ? parentWindow : RootWindow(display, screen);

    XSetWindowAttributes attributes{};
    attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            KeyPressMask | EnterWindowMask | LeaveWindowMask | StructureNotifyMask |
                            FocusChangeMask;
    attributes.background_pixel = BlackPixel(display, screen);
    attributes.border_pixel = 0;
    Visual* visual = DefaultVisual(display, screen);
    window_ =
        XCreateWindow(display, parent, 0, 0, width, height, 0, DefaultDepth(display, screen),
                      InputOutput, visual, CWEventMask | CWBackPixel | CWBorderPixel, &attributes);
    XSync(display, False);
    if (window_ == 0 || errorCount(display) > 0) {
        // Most likely the host passed something that is not a window.
        error = "cannot create the window inside the host's window";
        if (window_ != 0 && errorCount(display) == 0) XDestroyWindow(display, window_);
        window_ = 0;
        unregisterDisplay(display);
        XCloseDisplay(display);
        connection_->display = nullptr;
        return false;
    }
    if (parentWindow == 0) {
        XStoreName(display, window_, "Kirra");
        connection_->deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
        XSetWMProtocols(display, window_, &connection_->deleteWindow, 1);
        setSizeHints();
    }
    if (!createBackBuffer()) {
        error = "the X display has no 24-bit true-colour visual";
        XDestroyWindow(display, window_);
        window_ = 0;
        unregisterDisplay(display);
        XCloseDisplay(display);
        connection_->display = nullptr;
        return false;
    }
    connection_->gc = XCreateGC(display, window_, 0, nullptr);
    XMapWindow(display, window_);
    XFlush(display);
    if (pipe2(wakePipe_, O_CLOEXEC | O_NONBLOCK) != 0) wakePipe_[0] = wakePipe_[1] = -1;
    frame_.invalidAll();
    return true;
}

void X11Window::setSizeHints() {
    XSizeHints hints{};
    hints.flags = PMinSize | PMaxSize;
    hints.min_width = hints.max_width = frame_.deviceWidth();
    hints.min_height = hints.max_height = frame_.deviceHeight();
    XSetWMNormalHints(connection_->display, window_, &hints);
}

bool X11Window::createBackBuffer() {
    Display* display = connection_->display;
    const int screen = DefaultScreen(display);
    Visual* visual = DefaultVisual(display, screen);
    releaseBackBuffer();
    backBuffer_ = Image::atScale(frame_.width(), frame_.height(), frame_.zoom());
    // The back buffer is handed to the server as it is, which needs a true-colour display of
    // 24 bits in 32-bit pixels: what every current X server offers.
    XImage* image = nullptr;
    if (backBuffer_.isValid() && DefaultDepth(display, screen) == 24 &&
        visual->c_class == TrueColor) {
        cairo_surface_flush(backBuffer_.surface());
        image = XCreateImage(
            display, visual, 24, ZPixmap, 0,
            reinterpret_cast<char*>(cairo_image_surface_get_data(backBuffer_.surface())),
            backBuffer_.width(), backBuffer_.height(), 32,
            cairo_image_surface_get_stride(backBuffer_.surface()));
    }
    if (image == nullptr || image->bits_per_pixel != 32) {
        if (image != nullptr) {
            image->data = nullptr;
            XDestroyImage(image);
        }
        return false;
    }
    // Cairo's pixels are native 32-bit words; Xlib converts if the server's order differs.
    image->byte_order = LSBFirst;
    connection_->image = image;
    return true;
}

void X11Window::releaseBackBuffer() {
    if (connection_->image != nullptr) {
        connection_->image->data = nullptr;  // the back buffer's own
        XDestroyImage(connection_->image);
        connection_->image = nullptr;
    }
}

void X11Window::followZoom() {
    if (backBuffer_.width() == frame_.deviceWidth() &&
        backBuffer_.height() == frame_.deviceHeight())
        return;
    if (!createBackBuffer()) return;
    XResizeWindow(connection_->display, window_, frame_.deviceWidth(), frame_.deviceHeight());
    if (connection_->deleteWindow != 0) setSizeHints();
    frame_.invalidAll();
}

X11Window::~X11Window() {
    stopping_ = true;
    if (wakePipe_[1] >= 0) {
        char wake = 1;
        [[maybe_unused]] ssize_t written = write(wakePipe_[1], &wake, 1);
    }
    if (thread_.joinable()) thread_.join();
    for (int& fd : wakePipe_) {
        if (fd >= 0) close(fd);
        fd = -1;
    }
    Display* display = connection_->display;
    if (display == nullptr) return;
    releaseBackBuffer();
    if (connection_->gc != nullptr) XFreeGC(display, connection_->gc);
    if (!windowGone_ && window_ != 0) XDestroyWindow(display, window_);
    XSync(display, False);
    unregisterDisplay(display);
    XCloseDisplay(display);
}

void X11Window::run() {
    Display* display = connection_->display;
    const int displayFd = ConnectionNumber(display);
    while (!stopping_) {
        pollfd fds[2] = {{displayFd, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
        poll(fds, wakePipe_[0] >= 0 ? 2 : 1, kTickMs);
        if (stopping_) break;
        if (wakePipe_[0] >= 0 && (fds[1].revents & POLLIN)) {
            char drain[16];
            while (read(wakePipe_[0], drain, sizeof(drain)) > 0) {
            }
        }
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            handleEvent(&event);
        }
        const int64_t nowMs = monotonicMs();
        client_.windowTick(nowMs);
        frame_.tick(nowMs);
        frame_.collectGarbage();
        if (windowGone_) continue;
        followZoom();
        takeKeyboardFocusWhenTyping();
        paint();
    }
}

void X11Window::handleEvent(void* rawEvent) {
    XEvent& event = *static_cast<XEvent*>(rawEvent);
    if (event.xany.window != window_) return;
    switch (event.type) {
        case Expose: {
            const XExposeEvent& expose = event.xexpose;
            if (exposedRight_ <= exposedLeft_) {
                exposedLeft_ = expose.x;
                exposedTop_ = expose.y;
                exposedRight_ = expose.x + expose.width;
                exposedBottom_ = expose.y + expose.height;
            } else {
                exposedLeft_ = std::min(exposedLeft_, expose.x);
                exposedTop_ = std::min(exposedTop_, expose.y);
                exposedRight_ = std::max(exposedRight_, expose.x + expose.width);
                exposedBottom_ = std::max(exposedBottom_, expose.y + expose.height);
            }
            break;
        }
        case ButtonPress: {
            const XButtonEvent& press = event.xbutton;
            MouseEvent mouse;
            mouse.where = toFrame(press.x, press.y);
            mouse.modifiers = modifiersOf(press.state);
            if (press.button == Button4 || press.button == Button5) {
                frame_.wheel(mouse, press.button == Button4 ? 1.0f : -1.0f);
                break;
            }
            mouse.buttons = buttonBitOf(press.button);
            if (mouse.buttons == 0) break;
            mouse.doubleClick = press.button == lastPressButton_ &&
                                press.time - lastPressTime_ <= kDoubleClickMs &&
                                std::abs(press.x - lastPressX_) <= kDoubleClickPixels &&
                                std::abs(press.y - lastPressY_) <= kDoubleClickPixels;
            // A third press starts a new pair rather than making another double click.
            lastPressTime_ = mouse.doubleClick ? 0 : press.time;
            lastPressButton_ = press.button;
            lastPressX_ = press.x;
            lastPressY_ = press.y;
            frame_.mouseDown(mouse);
            break;
        }
        case ButtonRelease: {
            const XButtonEvent& release = event.xbutton;
            if (buttonBitOf(release.button) == 0) break;
            MouseEvent mouse;
            mouse.where = toFrame(release.x, release.y);
            mouse.buttons = buttonBitOf(release.button);
            mouse.modifiers = modifiersOf(release.state);
            frame_.mouseUp(mouse);
            break;
        }
        case MotionNotify: {
            // Only the latest position of a burst of motion matters.
            XEvent latest = event;
            while (XCheckTypedWindowEvent(connection_->display, window_, MotionNotify, &latest)) {
            }
            MouseEvent mouse;
            mouse.where = toFrame(latest.xmotion.x, latest.xmotion.y);
            mouse.buttons = heldButtonsOf(latest.xmotion.state);
            mouse.modifiers = modifiersOf(latest.xmotion.state);
            frame_.mouseMoved(mouse);
            break;
        }
        case LeaveNotify:
            frame_.mouseExited();
            break;
        case KeyPress: {
            frame_.keyDown(keyEventOf(event.xkey));
            break;
        }
        case FocusOut:
            keyboardTaken_ = false;
            break;
        case DestroyNotify:
            windowGone_ = true;
            break;
        case ClientMessage:
            // Our own top-level window only hides; the host decides when the editor closes.
            if (static_cast<Atom>(event.xclient.data.l[0]) == connection_->deleteWindow) {
                XUnmapWindow(connection_->display, window_);
            }
            break;
        default:
            break;
    }
}

void X11Window::takeKeyboardFocusWhenTyping() {
    bool typing = frame_.getFocusView() != nullptr;
    if (typing && !keyboardTaken_) {
        XSetInputFocus(connection_->display, window_, RevertToParent, CurrentTime);
        keyboardTaken_ = true;
    } else if (!typing) {
        keyboardTaken_ = false;
    }
}

Point X11Window::toFrame(int x, int y) const {
    return {fromDevice(x, frame_.zoom()), fromDevice(y, frame_.zoom())};
}

void X11Window::paint() {
    Rect dirty = frame_.takeDirtyArea();
    if (!dirty.isEmpty()) frame_.render(backBuffer_, dirty);
    // Exposures come in device pixels, the frame's areas in 100 % ones.
    Rect exposed{exposedLeft_, exposedTop_, exposedRight_, exposedBottom_};
    exposedLeft_ = exposedTop_ = exposedRight_ = exposedBottom_ = 0;
    Rect area = toDevice(dirty, frame_.zoom()).united(exposed);
    if (area.isEmpty()) return;
    area = {std::max(area.left, 0), std::max(area.top, 0),
            std::min(area.right, backBuffer_.width()), std::min(area.bottom, backBuffer_.height())};
    if (area.isEmpty()) return;
    cairo_surface_flush(backBuffer_.surface());
    XPutImage(connection_->display, window_, connection_->gc, connection_->image, area.left,
              area.top, area.left, area.top, area.width(), area.height());
    XFlush(connection_->display);
}

}  // namespace kirra::gui
