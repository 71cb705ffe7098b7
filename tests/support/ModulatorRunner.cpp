#include "support/ModulatorRunner.h"

#include <algorithm>

#include "engine/ModuleFactory.h"
#include "modules/ModuleMath.h"

namespace testing_support {

ModulatorRunner::ModulatorRunner(std::unique_ptr<kirra::Modulator> module, float sampleRate)
    : module_(std::move(module)), sampleRate_(sampleRate) {
    module_->setTaps(tapsLeft_, tapsRight_);
    module_->setSampleRate(sampleRate);
}

ModulatorRunner makeModulatorRunner(int type, float sampleRate) {
    return ModulatorRunner(kirra::createModulator(type, 0, nullptr), sampleRate);
}

void ModulatorRunner::setSongPosition(double quarterNotes, bool playing) {
    songPosition_ = quarterNotes;
    playing_ = playing;
}

void ModulatorRunner::setModulation(int position, float left, float right) {
    modulations_.push_back({position, left, right});
}

void ModulatorRunner::setTapSignal(int tap, const Stereo* signal) {
    tap_ = tap;
    tapSignal_ = signal;
    tapFrame_ = 0;
}

void ModulatorRunner::controlUpdate() {
    module_->resetModulation();
    for (const Modulation& modulation : modulations_)
        module_->addModulation(modulation.position, modulation.left, modulation.right);
    for (const Modulation& modulation : modulations_)
        module_->clampModulation(modulation.position);
    module_->updateParameters();
}

Stereo ModulatorRunner::run(size_t frames, int blockSize) {
    Stereo out(frames);
    for (size_t start = 0; start < frames; start += blockSize) {
        size_t count = std::min<size_t>(blockSize, frames - start);
        module_->setSongPosition(static_cast<float>(songPosition_));
        module_->setTempo(tempoBpm_);
        for (size_t i = start; i < start + count; ++i) {
            if (++controlCounter_ >= kirra::kControlPeriod) {
                controlCounter_ = 0;
                controlUpdate();
            }
            if (tapSignal_ != nullptr) {
                bool inside = tapFrame_ < tapSignal_->frames();
                tapsLeft_[tap_] = inside ? tapSignal_->left[tapFrame_] : 0.0f;
                tapsRight_[tap_] = inside ? tapSignal_->right[tapFrame_] : 0.0f;
                ++tapFrame_;
            }
            module_->generateSample(out.left[i], out.right[i]);
        }
        if (playing_) songPosition_ += count * tempoBpm_ / 60.0 / sampleRate_;
    }
    return out;
}

}  // namespace testing_support
