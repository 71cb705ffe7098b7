#pragma once
// The plug-in's editor: the 830 x 335 window (at the user's zoom) with its frame, the dispatch of
// control changes to parameters by tag and of parameter changes to controls by index, and the
// periodic work (meters, blinking, tempo follow) at most every 50 ms.
//
// Threads. The host may call anything from any thread, and Linux hosts often call idle rarely or
// never, so the open window runs a thread of its own (see gui::X11Window) that pumps events,
// takes the posted parameter changes, runs the periodic work and redraws. Notifications from the
// plug-in only post into a lock-free mailbox. Open, close and screenshots are serialised with
// each other; close stops the window thread before the frame goes. Without a window (tests,
// screenshots) whoever calls `tick` plays the window thread's part.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "editor/KnobListener.h"
#include "editor/ParameterMailbox.h"
#include "editor/ParameterTextSource.h"
#include "editor/PluginLibrary.h"
#include "editor/routing/SlotEditing.h"
#include "engine/EditorNotifications.h"
#include "engine/ScreenshotRequest.h"
#include "gui/Control.h"
#include "gui/X11Window.h"
#include "platform/SystemFileChooser.h"
#include "vst/AEffEditor.h"

namespace kirra {
class Plugin;
}

namespace kirra::editor {

class KirraFrame;

class Editor : public vst::AEffEditor,
               public EditorNotifications,
               public gui::ControlListener,
               public KnobListener,
               public SlotEditing,
               public gui::WindowClient {
  public:
    static constexpr int kIdleIntervalMs = 50;
    static constexpr int kLearnBlinkMs = 500;

    explicit Editor(Plugin& plugin);
    ~Editor() override;

    // Host side.
    bool getRect(vst::ERect** rect) override;
    bool open(void* parentWindow) override;
    void close() override;
    // The window's own thread does the periodic work; a host's idle calls cost nothing.
    void idle() override {}
    bool isOpen() const override;

    // Builds the frame without a window, at the user's zoom or the one given (a percentage);
    // `tick` then drives it.
    bool openOffscreen(int zoomPercent = 0);
    // Takes the posted changes and, every 50 ms, runs the periodic work.
    void tick(int64_t nowMs);
    // Renders the editor into a PNG file with a frame of its own; works without a display.
    bool renderScreenshot(const ScreenshotRequest& request);
    KirraFrame* getFrame() const { return frame_.get(); }
    int getBlinkPhase() const { return blinkPhase_; }
    int getLearnState() const { return learnState_.load(); }
    // 100..200; the host's rectangle is the 100 % size scaled by it.
    int getZoomPercent() const { return zoomPercent_.load(); }
    // The user chose a zoom: it is stored for the user and, on the next tick, the host is asked
    // for the new size. A host that refuses keeps the editor as it is until the next open.
    void requestZoom(int percent);
    const std::string& getLastError() const { return lastError_; }

    // From the plug-in, any thread.
    void parameterChanged(int index, float value) override;
    void learnStateChanged(int state, int controller) override;
    void redrawAll() override;

    // From the controls and the slot window.
    void valueChanged(gui::Control* control) override;
    // Host parameters tell the host that a gesture starts and ends.
    void beginEdit(int index) override;
    void endEdit(int index) override;
    // Host parameters are recorded by the host, the others only set.
    void editParameter(int index, float value) override;
    void learnSlotSource(int slot) override;
    int getLearningSlot() const override { return learningSlot_; }
    void learnRequested(int tag) override;
    void knobRenamed(int tag, const std::string& name) override;
    void windowTick(int64_t nowMs) override { tick(nowMs); }

  private:
    void startFrameLocked(int zoomPercent = 0);
    // The user's zoom (or the desktop's) as the host's rectangle reports it.
    void readZoom();
    void setRectForZoom(int percent);
    void applyRequestedZoom();
    std::unique_ptr<KirraFrame> buildFrame(double scale);
    void takePendingChanges();
    void handleParameterChange(int index, float value);
    void refreshAll();
    void runIdle(int64_t nowMs);
    bool tempoLockedToHost() const;
    void followHostTempo(KirraFrame& frame);
    // The editor's own controls (slot and page buttons, routing presets, tabs); false for tags
    // that are parameters.
    bool editorTagChanged(int tag, float value);
    // Undo, redo and the A/B compare; false for other tags.
    bool historyTagChanged(int tag);
    void editParameter(int index, float value, bool recorded);
    void finishSlotLearn();
    void closeLocked();

    Plugin& plugin_;
    platform::SystemFileChooser fileChooser_;
    PluginLibrary library_;
    ParameterTextSource preferences_{plugin_};
    ParameterMailbox mailbox_;
    std::atomic<bool> refreshPending_{false};
    std::atomic<int> learnState_{0};
    std::atomic<int> matrixView_{0};
    // Controller learn for a slot's source: the slot waiting, and the controller the engine
    // reported since (from the audio thread).
    int learningSlot_ = -1;
    std::atomic<int> heardController_{-1};

    std::mutex openMutex_;
    std::unique_ptr<KirraFrame> frame_;
    std::unique_ptr<gui::X11Window> window_;
    std::atomic<bool> open_{false};
    vst::ERect rect_{};
    std::atomic<int> zoomPercent_{100};
    std::atomic<int> requestedZoom_{0};
    std::atomic<int> chosenZoom_{100};  // what the preferences page shows
    double desktopScale_ = -1.0;        // asked once, at the first need
    std::string lastError_;

    // periodic work
    bool idleStarted_ = false;
    int64_t lastIdleMs_ = 0;
    int blinkPhase_ = 0;
    // Drags begun and not yet ended (editor thread).
    int openGestures_ = 0;
};

}  // namespace kirra::editor
