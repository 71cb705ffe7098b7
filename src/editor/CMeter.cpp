#include "editor/CMeter.h"

#include <cmath>

#include "editor/Skin.h"

namespace kirra::editor {

CMeter::CMeter(const gui::Rect& rect, const Skin& skin) : Control(rect, nullptr, -1), skin_(skin) {}

void CMeter::update(float peakValue, double nowMs) {
    float db =
        std::isfinite(peakValue) && peakValue > 0.01f ? 20.0f * std::log10(peakValue) : kSilenceDb;
    double elapsedMs = hasUpdated_ ? nowMs - lastUpdateMs_ : 0.0;
    if (elapsedMs < 0.0) elapsedMs = 0.0;  // a clock that went back counts as no time
    lastUpdateMs_ = nowMs;
    hasUpdated_ = true;
    float fallDb = static_cast<float>(falloffDbPerSecond_ * elapsedMs / 1000.0);
    float oldLevel = levelDb_;
    float oldPeak = peakDb_;

    levelDb_ = std::max(levelDb_ - fallDb, kSilenceDb);
    if (db > levelDb_) levelDb_ = db;

    if (holdMs_ >= 0.0f) {
        if (holdRemainingMs_ > 0.0f) {
            holdRemainingMs_ -= static_cast<float>(elapsedMs);
        } else {
            peakDb_ = std::max(peakDb_ - fallDb, kSilenceDb);
        }
    }
    if (db > peakDb_) {
        peakDb_ = db;
        holdRemainingMs_ = holdMs_;
    }
    if (widthFor(levelDb_) != widthFor(oldLevel) || widthFor(peakDb_) != widthFor(oldPeak)) {
        invalid();
    }
}

void CMeter::reset() {
    levelDb_ = peakDb_ = kFloorDb;
    holdRemainingMs_ = 0.0f;
    invalid();
}

int CMeter::widthFor(float db) const {
    if (db <= kFloorDb) return 0;
    float share = db >= 0.0f ? 1.0f : (db - kFloorDb) / -kFloorDb;
    return static_cast<int>(share * getRect().width() + 0.5f);
}

void CMeter::draw(gui::DrawContext& context) {
    const gui::Rect& rect = getRect();
    context.drawImage(skin_.meterUnlit(), 0, 0, rect);
    int lit = widthFor(levelDb_);
    if (lit > 0)
        context.drawImage(skin_.meterLit(), 0, 0,
                          {rect.left, rect.top, rect.left + lit, rect.bottom});
    int peak = widthFor(peakDb_);
    if (peak > 0) {
        // The peak mark is the lit segment where the peak lies.
        int pitch = Skin::kMeterSegmentPitch;
        int segmentLeft = (peak - 1) / pitch * pitch;
        context.drawImage(
            skin_.meterLit(), segmentLeft, 0,
            {rect.left + segmentLeft, rect.top, rect.left + segmentLeft + pitch - 1, rect.bottom});
    }
}

bool CMeter::onMouseDown(const gui::MouseEvent& event) {
    if (!event.isLeft()) return false;
    reset();
    if (linked_ != nullptr) linked_->reset();
    return true;
}

}  // namespace kirra::editor
