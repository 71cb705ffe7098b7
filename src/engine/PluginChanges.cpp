// The way changes reach the audio thread: a change opens with a call's first store, collects new
// modules and values, and is published as a whole when the call ends; the audio thread installs
// it at the start of its next block. Stores made on the audio thread itself act there at once and
// are finished by the worker.

#include "engine/ParameterDescription.h"
#include "engine/Plugin.h"

namespace kirra {

using namespace param;

namespace {

// A store the audio thread could not apply, or one a waiting change would undo: the worker
// applies it again after everything published.
constexpr uint64_t kApplyAgain = ~uint64_t{0};

// What only another thread may do: build modules, switch the preview, move the editor's pages.
bool isLeftToWorker(ParameterGroup group) {
    return group == ParameterGroup::kOperatorType || group == ParameterGroup::kModulatorType ||
           group == ParameterGroup::kModulationPreview || group == ParameterGroup::kPage;
}

}  // namespace

Plugin::ChangeBatch::ChangeBatch(Plugin& plugin, bool together)
    : plugin_(plugin), lock_(plugin.mutex_) {
    plugin_.beginChange();
    if (together) plugin_.openChange();
}

Plugin::ChangeBatch::~ChangeBatch() {
    plugin_.endChange();
}

void Plugin::beginChange() {
    if (changeDepth_++ > 0) return;
    // A change still waiting for its block is taken back and extended, so the audio thread never
    // applies an older value after a newer one.
    openChange_ = handover_.retract();
    finishAudioStores();
}

void Plugin::endChange() {
    if (--changeDepth_ > 0) return;
    std::unique_ptr<EngineChange> change = std::move(openChange_);
    if (change != nullptr && !change->isEmpty()) publishChange(std::move(change));
}

EngineChange& Plugin::openChange() {
    if (openChange_ == nullptr) openChange_ = std::make_unique<EngineChange>();
    return *openChange_;
}

void Plugin::publishChange(std::unique_ptr<EngineChange> change) {
    // While suspended no block is due, so the change is applied here, unless a host processes
    // anyway right now.
    if (suspended_ && gate_.tryClose()) {
        applyChange(*change);
        gate_.open();
        return;  // the replaced modules go with the change, on this thread
    }
    handover_.publish(std::move(change));
}

void Plugin::applyChange(EngineChange& change) {
    modules_.install(change);
    for (const EngineChange::Store& store : change.stores)
        applyToEngine(store.index, store.value, true);
    if (change.clearOperatorOutputs) path_.clearOperatorOutputs();
}

void Plugin::installPendingChange() {
    EngineChange* change = handover_.take();
    if (change == nullptr) return;
    applyChange(*change);
    handover_.retire(change);
    if (worker_ != nullptr) worker_->wake();
}

void Plugin::applyPendingNow() {
    if (std::unique_ptr<EngineChange> change = handover_.retract()) applyChange(*change);
}

Plugin::AudioCallback::AudioCallback(Plugin& plugin) : plugin_(plugin) {
    plugin_.audioThread_.store(std::this_thread::get_id(), std::memory_order_relaxed);
    plugin_.inAudioCallback_ = true;
}

Plugin::AudioCallback::~AudioCallback() {
    plugin_.inAudioCallback_ = false;
}

bool Plugin::isAudioContext() {
    if (audioThread_.load(std::memory_order_relaxed) != std::this_thread::get_id()) return false;
    // Inside a block or a format's audio callback; or between blocks on the thread that runs
    // them, when the host says it is its real-time thread (an offline render's thread calls
    // between blocks like any other).
    return gate_.isInBlock() || inAudioCallback_ ||
           getCurrentProcessLevel() == vst::kProcessLevelRealtime;
}

void Plugin::storeFromAudio(int index, float value) {
    uint64_t publications = kApplyAgain;
    if (!isLeftToWorker(parameterGroup(index))) {
        // Read before looking for a waiting change: a change published after this reading counts
        // as later, and one published before it is either found waiting or already applied.
        const uint64_t seen = handover_.publications();
        const bool waiting = handover_.isWaiting();
        const bool inBlock = gate_.isInBlock();
        if (inBlock || gate_.enter()) {
            applyToEngine(index, value, true);
            if (!inBlock) gate_.leave();
            if (!waiting) publications = seen;
        }
        values_[index] = value;
        if (affectsLatency(index)) latencyMayHaveChanged();
        notifyEditor(index, value);
    }
    audioStores_.post(index, value, publications);
    if (worker_ != nullptr) worker_->wake();
}

void Plugin::finishAudioStores() {
    audioStores_.take([this](int index, float value, uint64_t publications) {
        if (isLeftToWorker(parameterGroup(index))) {
            storeParameter(index, value, true);
            return;
        }
        // A later store from another thread has done all of this already.
        if (values_[index] != value) return;
        // A change published meanwhile would undo it on the audio thread.
        if (publications != handover_.publications()) passValue(index, value);
        if (programs_ == nullptr) return;
        programs_->setValue(index, value);
        if (isModulePosition(index)) {
            modules_.rememberPosition(index, value, programs_->getCurrentBank(),
                                      programs_->getCurrentPreset());
        }
    });
}

void Plugin::doWorkerRound() {
    if (handover_.hasRetired()) {
        // Under the mutex, as the editor reads modules under it.
        platform::EngineLock lock(mutex_);
        handover_.reclaim();
    }
    if (!audioStores_.isEmpty()) ChangeBatch finish(*this, false);
}

}  // namespace kirra
