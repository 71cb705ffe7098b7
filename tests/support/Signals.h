#pragma once
// Test signals and measurements: sines, impulses, levels and the magnitude of one frequency.

#include <cmath>
#include <vector>

#include "support/InProcessHost.h"

namespace testing_support {

constexpr double kPi = 3.14159265358979323846;

std::vector<float> sine(double frequency, double sampleRate, size_t frames, double amplitude = 1.0);
std::vector<float> impulse(size_t frames, size_t at = 0, float height = 1.0f);
Stereo stereo(const std::vector<float>& both);
// Frames from..to (not past the end) of both channels.
Stereo slice(const Stereo& signal, size_t from, size_t to);
// Deterministic white noise in -amplitude..amplitude.
std::vector<float> noise(size_t frames, unsigned seed = 1, float amplitude = 1.0f);

double rms(const std::vector<float>& signal, size_t from = 0, size_t to = 0);
double peak(const std::vector<float>& signal, size_t from = 0, size_t to = 0);
// Amplitude of one frequency in a range of the signal (Goertzel over whole cycles).
double amplitudeAt(const std::vector<float>& signal, double frequency, double sampleRate,
                   size_t from, size_t to);
double toDb(double gain);
// Index of the largest absolute sample.
size_t peakIndex(const std::vector<float>& signal);
// Number of samples that are NaN, infinite or subnormal.
size_t countBadSamples(const std::vector<float>& signal);

}  // namespace testing_support
