#pragma once
// A request for an offscreen rendering of the editor into a PNG file, handed to the plug-in
// through its vendor-specific dispatcher call with index kScreenshotRequest and the request as
// the pointer; the call answers 1 when the file was written. Needs no display. Page, operator
// and modulator -1 keep the ones the plug-in shows. Part of the plug-in's interface to hosts,
// so it lives below the editor, where the command-line host may include it.

#include <cstdint>

namespace kirra {

constexpr int32_t kScreenshotRequest = 0x4B725368;  // 'KrSh'

struct ScreenshotRequest {
    const char* path = nullptr;
    int page = -1;           // 0 routing, 1 library, 2 preferences, 3 modulation
    int operatorSlot = -1;   // 0..3
    int modulatorSlot = -1;  // 0..3
    int zoomPercent = 0;     // 100..200 in steps of 25; 0 the user's zoom
};

}  // namespace kirra
