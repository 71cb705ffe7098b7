#pragma once
// The internal parameter table: one flat index space of normalised values. 0..306 are also the
// host's parameters, 0..415 form a program, 417..421 are instance preferences, 436 a command.

namespace kirra::param {

constexpr int kPower = 0;
constexpr int kInput = 1;
constexpr int kMix = 2;
constexpr int kOutput = 3;
constexpr int kKnob1 = 4;  // ..11
constexpr int kKnobCount = 8;
constexpr int kOperatorType1 = 12;      // ..15
constexpr int kOperatorBase = 16;       // slot s position i at 16 (s + 1) + i, 16..79
constexpr int kModulatorType1 = 80;     // ..83
constexpr int kModulatorBase = 84;      // slot s position i at 84 + 38 s + i, 84..235
constexpr int kSlotSensitivity1 = 236;  // ..251
constexpr int kDryDelay = 252;
constexpr int kInToOp1 = 253;   // ..256
constexpr int kOpToOp11 = 257;  // m to n at 257 + 4 (m - 1) + (n - 1), ..272
constexpr int kOpToOut1 = 273;  // ..276
constexpr int kRoutingFirst = kInToOp1;
constexpr int kRoutingCount = 24;
constexpr int kTempo = 277;
constexpr int kPpqOffset = 278;
constexpr int kSpareFirst = 279;  // ..306
constexpr int kHostParameterCount = 307;
constexpr int kOperatorBypass1 = 307;   // ..310
constexpr int kModulatorBypass1 = 311;  // ..314
constexpr int kSlotSource1 = 315;       // ..330
constexpr int kSlotDestination1 = 331;  // ..346
constexpr int kKnobName1 = 347;         // knob k character j at 347 + 8 (k - 1) + j, ..410
constexpr int kKnobNameLength = 8;
constexpr int kOutLimiter = 411;
constexpr int kTempoSync = 412;
constexpr int kOpLrMs = 413;
constexpr int kOpInv = 414;
constexpr int kSlotStatus = 415;
constexpr int kProgramParameterCount = 416;
constexpr int kUnused416 = 416;
constexpr int kCurrentOperator = 417;
constexpr int kCurrentMain = 418;
constexpr int kCurrentModulator = 419;
constexpr int kMeterHold = 420;
constexpr int kMeterFalloff = 421;
constexpr int kModulationPreview = 436;
constexpr int kInternalParameterCount = 437;

constexpr int kSlotCount = 4;  // operator slots, and modulator slots
constexpr int kOperatorPositions = 16;
constexpr int kModulatorPositions = 38;
constexpr int kModulationSlots = 16;

// State counts of the discrete parameters.
constexpr int kDryDelayStates = 32769;
constexpr int kLimiterStates = 16;
constexpr int kTempoSyncStates = 4;
constexpr int kOpLrMsStates = 256;
constexpr int kOpInvStates = 16;
constexpr int kSlotStatusStates = 65536;
constexpr int kSourceStates = 149;
constexpr int kDestinationStates = 260;
constexpr int kKnobCharacterStates = 128;
constexpr int kPageStates = 4;
constexpr int kPreviewStates = 3;

constexpr int operatorParameter(int slot, int position) {
    return kOperatorBase + kOperatorPositions * slot + position;
}
constexpr int modulatorParameter(int slot, int position) {
    return kModulatorBase + kModulatorPositions * slot + position;
}

}  // namespace kirra::param
