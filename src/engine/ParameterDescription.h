#pragma once
// The internal parameter table described once. Every index 0..436 belongs to one row of the
// description: its group (what owns it), its host name, label, number of states, default, the
// texts the host and the editor show, how a typed text reads back, and whether the host sees it
// and programs store it. The host texts, the engine's dispatch, the editor, the preset compiler
// and every plug-in format read this table; the positions of operators and modulators take their
// facts from the module in the slot (modules/PositionDescriptor.h).

#include <cstdint>

#include "engine/ModulationNames.h"
#include "engine/ParameterIndex.h"
#include "modules/ModuleText.h"

namespace kirra {

// What an index is; a row's members are numbered within the group (the slot, knob, level,
// routing gain, modulation slot, page or knob-name character the index stands for).
enum class ParameterGroup : uint8_t {
    kPower,
    kMainLevel,          // Input, Mix, Output: members 0..2
    kKnob,               // KNOB1..8: members 0..7
    kOperatorType,       // members: slots 0..3
    kOperatorPosition,   // members: slot * 16 + position
    kModulatorType,      // members: slots 0..3
    kModulatorPosition,  // members: slot * 38 + position
    kSlotSensitivity,    // members: modulation slots 0..15
    kDryDelay,
    kRouting,  // members: the 24 gains, IN->OP1..4, OP1->OP1..OP4->OP4, OP1..4->OUT
    kTempo,
    kSongOffset,  // sixteenths added to the host's song position
    kSpare,       // stored in programs, no effect
    kOperatorBypass,
    kModulatorBypass,
    kSlotSource,
    kSlotDestination,
    kKnobName,  // members: knob * 8 + character
    kLimiter,
    kTempoSync,
    kMidSide,    // bits of the operators' mid/side coding
    kInversion,  // bits of the operators' polarity
    kSlotMutes,  // bits of the muted modulation slots
    kUnused,     // 416, and 422..435 (the editor's own control tags)
    kPage,       // members: 0 shown operator, 1 shown main page, 2 shown modulator
    kMeterHold,
    kMeterFalloff,
    kModulationPreview,
};

// What a text depends on besides the parameter's own value. Without modules the texts of types,
// positions, sources and destinations are empty.
struct ParameterContext {
    float sampleRate = 44100.0f;
    int tempoSyncState = 1;
    const SlotModules* modules = nullptr;
};

using ParameterText = void (*)(const ParameterContext& context, int member, float value,
                               ModuleText& text);
// A typed text read back as a value; the current value when the text means nothing.
using ParameterFromText = float (*)(const ParameterContext& context, int member, const char* text,
                                    float currentValue);
using ParameterName = void (*)(int member, ModuleText& text);

// How an edit made in the editor reaches the engine: recorded by the host as automation, or set
// directly (preferences, page state, values the host does not see). Only host parameters are
// recorded.
enum class EditorWrite : uint8_t { kRecorded, kDirect };

struct ParameterDescriptor {
    ParameterGroup group;
    int first;       // the row's first internal index
    int count;       // its indices
    int memberBase;  // the member number of `first` within the group
    // The host name: a format given the member's number within the row counted from 1, or a
    // function of the member where one number does not say it.
    const char* name;
    ParameterName nameOf;
    const char* label;
    int states;  // discrete states (valueToIndex); 0 for a continuous value
    // The states a chooser offers (the first ones); 0 where the editor offers no choice.
    int offeredStates;
    float defaultValue;              // before the first program is applied
    float (*defaultOf)(int member);  // where members start differently; null: defaultValue
    ParameterText display;           // the host's display; null: empty
    ParameterText editorText;        // the editor's text; null: the host's display
    // A typed text; null: a discrete row reads the texts of its states, others nothing.
    ParameterFromText fromText;
    EditorWrite editorWrite;

    bool isHostParameter() const { return first < param::kHostParameterCount; }
    bool isRecordedEdit() const {
        return isHostParameter() && editorWrite == EditorWrite::kRecorded;
    }
    bool isStoredInPrograms() const { return first < param::kProgramParameterCount; }
};

// The row of an index; indices outside 0..436 read as unused.
const ParameterDescriptor& describeParameter(int index);
// The index's member within its group.
int parameterMember(int index);
ParameterGroup parameterGroup(int index);
// The rows in index order, covering 0..436 without gaps.
int parameterRowCount();
const ParameterDescriptor& parameterRow(int row);

float parameterDefault(int index);
// Host texts. Positions name themselves "OP%d %s" / "MOD%d %s" with the module's own name.
void parameterName(int index, const ParameterContext& context, ModuleText& text);
void parameterLabel(int index, const ParameterContext& context, ModuleText& text);
void parameterDisplay(int index, float value, const ParameterContext& context, ModuleText& text);
// Editor texts, and a typed text read back (the editor's fields, the preset compiler).
void parameterEditorText(int index, float value, const ParameterContext& context, ModuleText& text);
float parameterFromText(int index, const char* text, float currentValue,
                        const ParameterContext& context);

// Units of the global parameters that the engine and the editor both apply.
namespace units {
// The internal tempo.
float tempoBpm(float value);
float tempoValue(float bpm);
// Input and Output: 0.5 is unity, 1.0 is +12 dB.
float levelGain(float value);
// Sixteenths of the song-position offset.
int songOffsetSixteenths(float value);
// Meter hold in milliseconds (negative: for ever) and fall-back speed in dB per second.
float meterHoldMs(float value);
float meterFalloffDbPerSecond(float value);
}  // namespace units

// The host interface's way of printing a float: as many decimals as fit in 8 characters
// (100 gives "100.0000", 50 gives "50.00000").
void hostFloatText(float value, ModuleText& text);

}  // namespace kirra
