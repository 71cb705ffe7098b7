#include "editor/Editor.h"

#include "editor/CLibWnd.h"
#include "editor/CModuleParam.h"
#include "editor/EditorLayout.h"
#include "editor/EditorZoom.h"
#include "editor/KirraFrame.h"
#include "editor/panels/RememberedValues.h"
#include "editor/routing/CCordWnd.h"
#include "editor/routing/ModulationPage.h"
#include "editor/routing/PredefinedRoutings.h"
#include "editor/routing/SignalPathPage.h"
#include "engine/ABCompare.h"
#include "engine/EditHistory.h"
#include "engine/ModulationSlots.h"
#include "engine/ParameterDescription.h"
#include "engine/Plugin.h"
#include "engine/ProgramLibrary.h"
#include "gui/DesktopScale.h"
#include "gui/Image.h"
#include "modules/ModuleMath.h"

namespace kirra::editor {

using namespace param;

namespace {

bool inRange(int index, int first, int count) {
    return index >= first && index < first + count;
}

}  // namespace

Editor::Editor(Plugin& plugin) : plugin_(plugin), library_(plugin, fileChooser_) {
    setRectForZoom(zoom::kMinPercent);
}

void Editor::setRectForZoom(int percent) {
    const double scale = percent / 100.0;
    rect_.top = 0;
    rect_.left = 0;
    rect_.bottom = static_cast<int16_t>(gui::toDevice(layout::kHeight, scale));
    rect_.right = static_cast<int16_t>(gui::toDevice(layout::kWidth, scale));
    zoomPercent_ = percent;
}

void Editor::readZoom() {
    if (desktopScale_ < 0.0) desktopScale_ = gui::desktopScale();
    const int percent = zoom::loadPercent(plugin_.getLibrary().getStore(), desktopScale_);
    chosenZoom_ = percent;
    setRectForZoom(percent);
}

void Editor::requestZoom(int percent) {
    if (zoom::parsePercent(std::to_string(percent)) < 0) return;
    zoom::storePercent(plugin_.getLibrary().getStore(), percent);
    chosenZoom_ = percent;
    requestedZoom_ = percent;
}

void Editor::applyRequestedZoom() {
    const int percent = requestedZoom_.exchange(0);
    if (percent <= 0 || percent == zoomPercent_.load()) return;
    const int shown = zoomPercent_.load();
    // Hosts may ask for the rectangle while they handle the request, so it has the new size
    // first. A window inside a host's grows only when the host grows its own; without a window
    // (offscreen) nothing stands in the way.
    setRectForZoom(percent);
    if (window_ != nullptr && !plugin_.sizeWindow(rect_.right, rect_.bottom)) {
        setRectForZoom(shown);
        return;
    }
    frame_->changeZoom(percent / 100.0);
}

Editor::~Editor() {
    close();
}

bool Editor::getRect(vst::ERect** rect) {
    if (rect == nullptr) return false;
    // Hosts ask before they open the editor, and that size is the one the window gets.
    if (!open_) readZoom();
    *rect = &rect_;
    return true;
}

bool Editor::isOpen() const {
    return open_.load();
}

// Both kinds of open start alike: a second open without a close means the host lost the first
// window, so the latest one wins; the frame is in place before anything ticks it.
void Editor::startFrameLocked(int zoomPercent) {
    if (open_) closeLocked();
    mailbox_.clear();
    refreshPending_ = false;
    requestedZoom_ = 0;
    idleStarted_ = false;
    readZoom();
    if (zoom::parsePercent(std::to_string(zoomPercent)) > 0) setRectForZoom(zoomPercent);
    frame_ = buildFrame(zoomPercent_.load() / 100.0);
}

std::unique_ptr<KirraFrame> Editor::buildFrame(double scale) {
    KirraFrame::Context context{plugin_, *this,       *this,       library_, preferences_,
                                *this,   matrixView_, chosenZoom_, scale};
    auto frame = std::make_unique<KirraFrame>(context);
    // A frame looks as the idle would leave it from its first drawing on.
    followHostTempo(*frame);
    return frame;
}

bool Editor::open(void* parentWindow) {
    std::lock_guard<std::mutex> lock(openMutex_);
    startFrameLocked();
    std::string error;
    auto parent = static_cast<unsigned long>(reinterpret_cast<uintptr_t>(parentWindow));
    window_ = gui::X11Window::open(parent, *frame_, *this, error);
    if (window_ == nullptr) {
        lastError_ = error;
        frame_.reset();
        return false;
    }
    open_ = true;
    return true;
}

bool Editor::openOffscreen(int zoomPercent) {
    std::lock_guard<std::mutex> lock(openMutex_);
    startFrameLocked(zoomPercent);
    open_ = true;
    return true;
}

void Editor::close() {
    std::lock_guard<std::mutex> lock(openMutex_);
    closeLocked();
}

void Editor::closeLocked() {
    // The window's thread stops first; only then may the frame it draws go.
    window_.reset();
    frame_.reset();
    open_ = false;
    learnSlotSource(-1);
    // Gestures whose controls went with the frame end here, so the history records again.
    for (; openGestures_ > 0; --openGestures_)
        plugin_.getEditHistory().endGesture();
}

bool Editor::renderScreenshot(const ScreenshotRequest& request) {
    if (request.path == nullptr) return false;
    std::lock_guard<std::mutex> lock(openMutex_);
    if (request.operatorSlot >= 0 && request.operatorSlot < kSlotCount)
        plugin_.setParameter(kCurrentOperator, indexToValue(request.operatorSlot, kPageStates));
    if (request.page >= 0 && request.page < KirraFrame::kPages)
        plugin_.setParameter(kCurrentMain, indexToValue(request.page, kPageStates));
    if (request.modulatorSlot >= 0 && request.modulatorSlot < kSlotCount)
        plugin_.setParameter(kCurrentModulator, indexToValue(request.modulatorSlot, kPageStates));
    // A frame of its own, so that an open window is left alone.
    if (!open_) readZoom();
    const int shownZoom = zoomPercent_.load();
    const int percent = zoom::parsePercent(std::to_string(request.zoomPercent));
    std::unique_ptr<KirraFrame> frame = buildFrame((percent > 0 ? percent : shownZoom) / 100.0);
    gui::Image image = gui::Image::atScale(layout::kWidth, layout::kHeight, frame->zoom());
    frame->renderAll(image);
    return image.writePng(request.path);
}

void Editor::parameterChanged(int index, float value) {
    mailbox_.post(index, value);
}

void Editor::learnStateChanged(int state, int controller) {
    learnState_ = state;
    if (controller >= 0) heardController_ = controller;
}

void Editor::redrawAll() {
    refreshPending_ = true;
}

void Editor::tick(int64_t nowMs) {
    if (frame_ == nullptr) return;
    if (refreshPending_.exchange(false)) {
        mailbox_.clear();
        refreshAll();
    }
    takePendingChanges();
    applyRequestedZoom();
    finishSlotLearn();
    runIdle(nowMs);
    frame_->collectGarbage();
}

void Editor::takePendingChanges() {
    mailbox_.take([this](int index, float value) { handleParameterChange(index, value); });
}

void Editor::runIdle(int64_t nowMs) {
    if (idleStarted_ && nowMs - lastIdleMs_ < kIdleIntervalMs) return;
    bool firstRun = !idleStarted_;
    idleStarted_ = true;
    lastIdleMs_ = nowMs;
    followHostTempo(*frame_);
    float peaks[Plugin::kMeters];
    plugin_.takePeaks(peaks);
    for (int meter = 0; meter < Plugin::kMeters; ++meter)
        frame_->meter(meter)->update(peaks[meter], static_cast<double>(nowMs));

    int learning = learnState_.load();
    bool dimmed = (nowMs / kLearnBlinkMs) % 2 == 1;
    for (int knob = 0; knob < kKnobCount; ++knob) {
        frame_->assignableKnob(knob)->setBlinkDimmed(
            learning == MidiLearn::learnStateOf(kKnob1 + knob) && dimmed);
    }
    for (int level = 0; level < MainSection::kLevelCount; ++level) {
        CMyKnob* knob = frame_->mainKnob(level);
        knob->setBlinkDimmed(learning == MidiLearn::learnStateOf(kInput + level) && dimmed);
        ModulationShown shown;
        shown.drivers = modulationDrivers(plugin_, kInput + level);
        shown.driven = !shown.drivers.empty();
        shown.left = plugin_.getModulatedLevel(level, 0);
        shown.right = plugin_.getModulatedLevel(level, 1);
        knob->setModulation(shown);
    }

    if (!firstRun) blinkPhase_ = (blinkPhase_ + 1) % 20;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        frame_->operatorButton(slot)->setBlinkPhase(blinkPhase_);
        frame_->modulatorButton(slot)->setBlinkPhase(blinkPhase_);
    }
    frame_->operatorSelector()->setBlinkPhase(blinkPhase_);
    frame_->modulatorSelector()->setBlinkPhase(blinkPhase_);
    if (SignalPathPage* page = frame_->signalPathPage()) page->setBlinkPhase(blinkPhase_);
    frame_->readHistoryState();
    // The plots follow their modules: running values, and modulation while previewed.
    frame_->operatorPanel()->idle();
    frame_->modulatorPanel()->idle();
}

bool Editor::tempoLockedToHost() const {
    return valueToIndex(plugin_.getParameter(kTempoSync), kTempoSyncStates) == 1;
}

void Editor::followHostTempo(KirraFrame& frame) {
    gui::Control* tempo = frame.findControl(kTempo);
    if (tempo == nullptr) return;
    const bool locked = tempoLockedToHost();
    // Locked, the field shows the host's tempo and says why it takes no edits.
    if (auto* field = dynamic_cast<CModuleParam*>(tempo)) {
        field->setLocked(locked,
                         "locked to the host's tempo: set \"lock tempo to host\" to change it");
    }
    if (locked) tempo->setValue(units::tempoValue(plugin_.getCurrentTempo()));
}

void Editor::valueChanged(gui::Control* control) {
    const int tag = control->getTag();
    const float value = control->getValue();
    if (historyTagChanged(tag)) return;
    // A click is a gesture of its own; inside a drag this only nests.
    EditHistory::Gesture gesture(plugin_.getEditHistory());
    if (editorTagChanged(tag, value)) return;
    const ParameterDescriptor& row = describeParameter(tag);
    if (row.group == ParameterGroup::kTempo && tempoLockedToHost()) {
        // Locked to the host, the tempo is the host's: the control goes back to it.
        control->setValue(units::tempoValue(plugin_.getCurrentTempo()));
        return;
    }
    editParameter(tag, value, row.isRecordedEdit());
    // A type change makes the plug-in replace the module, which then gets back the values the
    // slot last had for that type.
    if (row.group == ParameterGroup::kOperatorType)
        restoreRememberedValues(plugin_, SlotKind::kOperator, parameterMember(tag));
    if (row.group == ParameterGroup::kModulatorType)
        restoreRememberedValues(plugin_, SlotKind::kModulator, parameterMember(tag));
}

bool Editor::historyTagChanged(int tag) {
    EditHistory& history = plugin_.getEditHistory();
    ABCompare& compare = plugin_.getABCompare();
    if (tag == tags::kUndo) {
        history.undo();
    } else if (tag == tags::kRedo) {
        history.redo();
    } else if (tag == tags::kCompareSwitch) {
        compare.swap();
        history.recordSwap();
    } else if (tag == tags::kCopyAToB || tag == tags::kCopyBToA) {
        // Copying into the playing program changes its values: a step like a preset load.
        EditHistory::Gesture gesture(history);
        const bool aToB = tag == tags::kCopyAToB;
        compare.copy(aToB ? ABCompare::kA : ABCompare::kB, aToB ? ABCompare::kB : ABCompare::kA);
    } else {
        return false;
    }
    frame_->readHistoryState();
    return true;
}

bool Editor::editorTagChanged(int tag, float value) {
    if (inRange(tag, tags::kOperatorButton1, kSlotCount)) {
        plugin_.setParameter(kCurrentOperator,
                             indexToValue(tag - tags::kOperatorButton1, kPageStates));
    } else if (inRange(tag, tags::kPageButton0, kPageStates)) {
        plugin_.setParameter(kCurrentMain, indexToValue(tag - tags::kPageButton0, kPageStates));
    } else if (inRange(tag, tags::kModulatorButton1, kSlotCount)) {
        plugin_.setParameter(kCurrentModulator,
                             indexToValue(tag - tags::kModulatorButton1, kPageStates));
    } else if (tag == tags::kPredefinedRouting) {
        applyPredefinedRouting(plugin_, valueToIndex(value, kPredefinedRoutings));
    } else if (tag == tags::kSaveAsDefault) {
        plugin_.setParameter(tag, value);
    } else if (tag == tags::kZoom) {
        requestZoom(zoom::percentOfStep(valueToIndex(value, zoom::kSteps)));
    } else if (tag == tags::kMatrixView) {
        // The tab keeps its view shown; nothing is destroyed under the click.
        matrixView_ = valueToIndex(value, 2);
        if (SignalPathPage* page = frame_->signalPathPage()) page->showView(matrixView_);
    } else {
        return false;
    }
    return true;
}

void Editor::beginEdit(int index) {
    ++openGestures_;
    plugin_.getEditHistory().beginGesture();
    if (index >= 0 && index < kHostParameterCount) plugin_.beginEdit(index);
}

void Editor::endEdit(int index) {
    if (index >= 0 && index < kHostParameterCount) plugin_.endEdit(index);
    if (openGestures_ == 0) return;
    --openGestures_;
    plugin_.getEditHistory().endGesture();
}

void Editor::editParameter(int index, float value) {
    EditHistory::Gesture gesture(plugin_.getEditHistory());
    editParameter(index, value, describeParameter(index).isHostParameter());
}

void Editor::editParameter(int index, float value, bool recorded) {
    if (recorded) {
        plugin_.setParameterAutomated(index, value);
    } else {
        plugin_.setParameter(index, value);
    }
}

void Editor::learnSlotSource(int slot) {
    bool waiting = learningSlot_ >= 0;
    learningSlot_ = slot >= 0 && slot < kModulationSlots ? slot : -1;
    if (learningSlot_ >= 0) {
        // The engine reports the next controller in its monitor state.
        heardController_ = -1;
        learnState_ = MidiLearn::kMonitor;
        plugin_.getMidiLearn().setState(MidiLearn::kMonitor);
    } else if (waiting && plugin_.getMidiLearn().getState() == MidiLearn::kMonitor) {
        learnState_ = MidiLearn::kIdle;
        plugin_.getMidiLearn().setState(MidiLearn::kIdle);
    }
}

void Editor::finishSlotLearn() {
    if (learningSlot_ < 0) return;
    int controller = heardController_.exchange(-1);
    if (controller < 0) return;
    int slot = learningSlot_;
    learningSlot_ = -1;
    editParameter(kSlotSource1 + slot,
                  indexToValue(ModulationSlots::kSourceController0 + controller, kSourceStates));
    if (ModulationPage* page = frame_->modulationPage()) page->slotWindow()->sourceLearned(slot);
}

void Editor::learnRequested(int tag) {
    int state = MidiLearn::learnStateOf(tag);
    if (state == 0) return;
    // A knob's learn takes over from a slot's; a second right click on the knob being learned
    // ends the learn.
    learningSlot_ = -1;
    learnState_ = learnState_.load() == state ? 0 : state;
    // The engine learns from the next controller message it handles.
    plugin_.getMidiLearn().setState(learnState_.load());
}

void Editor::knobRenamed(int tag, const std::string& name) {
    if (parameterGroup(tag) != ParameterGroup::kKnob) return;
    EditHistory::Gesture gesture(plugin_.getEditHistory());
    int first = kKnobName1 + kKnobNameLength * parameterMember(tag);
    for (int j = 0; j < kKnobNameLength; ++j) {
        int code = j < static_cast<int>(name.size()) ? static_cast<unsigned char>(name[j]) : 0;
        if (code >= kKnobCharacterStates) code = '?';
        plugin_.setParameter(first + j, indexToValue(code, kKnobCharacterStates));
    }
}

void Editor::refreshAll() {
    KirraFrame& frame = *frame_;
    for (int knob = 0; knob < kKnobCount; ++knob) {
        frame.assignableKnob(knob)->setValue(plugin_.getParameter(kKnob1 + knob));
        frame.readKnobName(knob);
    }
    frame.markKnobUsage();
    for (int level = 0; level < MainSection::kLevelCount; ++level)
        frame.mainKnob(level)->setValue(plugin_.getParameter(kInput + level));
    frame.powerSwitch()->setValue(valueToIndex(plugin_.getParameter(kPower), 2) == 1 ? 1.0f : 0.0f);
    frame.showOperator(valueToIndex(plugin_.getParameter(kCurrentOperator), kPageStates));
    frame.showModulator(valueToIndex(plugin_.getParameter(kCurrentModulator), kPageStates));
    frame.showPage(valueToIndex(plugin_.getParameter(kCurrentMain), kPageStates));
    followHostTempo(frame);
    frame.readMeterSettings();
}

void Editor::handleParameterChange(int index, float value) {
    KirraFrame& frame = *frame_;
    const int member = parameterMember(index);
    switch (parameterGroup(index)) {
        case ParameterGroup::kPower:
            frame.powerSwitch()->setValue(valueToIndex(value, 2) == 1 ? 1.0f : 0.0f);
            break;
        case ParameterGroup::kMainLevel:
            frame.mainKnob(member)->setValue(value);
            break;
        case ParameterGroup::kKnob:
            if (frame.assignableKnob(member)->isUsed())
                frame.assignableKnob(member)->setValue(value);
            break;
        case ParameterGroup::kOperatorType:
            frame.operatorTypeChanged(member, value);
            // The slots name the new module's parameters.
            if (ModulationPage* page = frame.modulationPage()) page->refreshSlots();
            break;
        case ParameterGroup::kModulatorType:
            frame.modulatorTypeChanged(member, value);
            if (ModulationPage* page = frame.modulationPage()) page->refreshSlots();
            break;
        case ParameterGroup::kOperatorPosition:
            frame.operatorPanel()->parameterChanged(index, value);
            break;
        case ParameterGroup::kModulatorPosition:
            frame.modulatorPanel()->parameterChanged(index, value);
            break;
        case ParameterGroup::kOperatorBypass:
            frame.operatorBypassChanged(member, valueToIndex(value, 2) == 1);
            if (SignalPathPage* page = frame.signalPathPage()) page->parameterChanged(index, value);
            break;
        case ParameterGroup::kModulatorBypass:
            frame.modulatorBypassChanged(member, valueToIndex(value, 2) == 1);
            break;
        case ParameterGroup::kDryDelay:
        case ParameterGroup::kRouting:
        case ParameterGroup::kMidSide:
        case ParameterGroup::kInversion:
            if (SignalPathPage* page = frame.signalPathPage()) page->parameterChanged(index, value);
            break;
        case ParameterGroup::kSlotSource:
            frame.markKnobUsage();
            if (ModulationPage* page = frame.modulationPage()) page->refreshSlots();
            break;
        case ParameterGroup::kSlotSensitivity:
        case ParameterGroup::kSlotDestination:
        case ParameterGroup::kSlotMutes:
            if (ModulationPage* page = frame.modulationPage()) page->refreshSlots();
            break;
        case ParameterGroup::kKnobName:
            frame.readKnobName(member / kKnobNameLength);
            break;
        case ParameterGroup::kPage:
            if (member == 0) frame.showOperator(valueToIndex(value, kPageStates));
            if (member == 1) {
                frame.showPage(valueToIndex(value, kPageStates));
                followHostTempo(frame);
            }
            if (member == 2) frame.showModulator(valueToIndex(value, kPageStates));
            break;
        case ParameterGroup::kMeterHold:
        case ParameterGroup::kMeterFalloff:
            if (gui::Control* control = frame.findControl(index)) control->setValue(value);
            frame.readMeterSettings();
            break;
        case ParameterGroup::kTempoSync:
            if (gui::Control* control = frame.findControl(index)) control->setValue(value);
            followHostTempo(frame);
            break;
        default:
            // Tempo, song offset, limiter, preview: a control of its own, where one is shown.
            if (gui::Control* control = frame.findControl(index)) control->setValue(value);
            break;
    }
    if (describeParameter(index).isStoredInPrograms() && frame.library() != nullptr)
        frame.library()->invalid();
}

}  // namespace kirra::editor
