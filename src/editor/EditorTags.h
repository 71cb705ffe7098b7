#pragma once
// Tags of the editor's own controls: numbers beyond the parameters the engine acts on, so that
// one listener tells every control apart by its tag.

#include "engine/ParameterIndex.h"

namespace kirra::editor::tags {

constexpr int kOperatorButton1 = 422;   // ..425
constexpr int kPageButton0 = 426;       // ..429, by page choice
constexpr int kModulatorButton1 = 430;  // ..433
constexpr int kPredefinedRouting = 434;
constexpr int kSaveAsDefault = 435;
constexpr int kModulationPreview = param::kModulationPreview;
constexpr int kMatrixView = 437;
constexpr int kZoom = 438;  // the editor's zoom, a per-user choice
constexpr int kUndo = 439;
constexpr int kRedo = 440;
constexpr int kCompareSwitch = 441;
constexpr int kCopyAToB = 442;
constexpr int kCopyBToA = 443;

}  // namespace kirra::editor::tags
