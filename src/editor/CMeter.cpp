#include "editor/CMeter.h"

#include <cmath>
#include <cstdio>

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
    // Full scale or more, or anything not a number, is a clip.
    const bool clip = !(peakValue < 1.0f);
    if (clip && !clipped_) {
        clipped_ = true;
        invalid();
    }
    if (widthFor(levelDb_) != widthFor(oldLevel) || widthFor(peakDb_) != widthFor(oldPeak)) {
        invalid();
    }
}

void CMeter::reset() {
    levelDb_ = peakDb_ = kFloorDb;
    holdRemainingMs_ = 0.0f;
    clipped_ = false;
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
    if (clipped_) {
        // The last two segments, full and framed, stay lit until a click.
        const gui::Rect mark{rect.right - 2 * Skin::kMeterSegmentPitch, rect.top, rect.right,
                             rect.bottom};
        context.setColor(Skin::kWarning);
        context.fillRect(mark);
        context.setColor(Skin::kLight);
        context.setLineWidth(1.0);
        context.frameRect(mark);
    }
}

std::string CMeter::tooltip(gui::Point /*where*/) const {
    char text[96];
    auto db = [](float value) {
        return value <= kFloorDb ? std::string("-oo")
                                 : std::to_string(static_cast<int>(std::lround(value)));
    };
    std::snprintf(text, sizeof(text), "%s level: %s dB, peak %s dB%s", name_.c_str(),
                  db(levelDb_).c_str(), db(peakDb_).c_str(), clipped_ ? ", clipped" : "");
    return std::string(text) + "\nclick: reset peak and clip (both channels)";
}

bool CMeter::onMouseDown(const gui::MouseEvent& event) {
    if (!event.isLeft()) return false;
    reset();
    if (linked_ != nullptr) linked_->reset();
    return true;
}

}  // namespace kirra::editor
