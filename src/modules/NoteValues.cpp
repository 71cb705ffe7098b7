#include "modules/NoteValues.h"

#include <cstring>

#include "modules/PositionTexts.h"

namespace kirra {

namespace {

const float kLengths[kNoteValueCount] = {
    8.0f,      4.0f,      2.0f,      1.0f,      0.5f,
    0.25f,     0.125f,    0.0625f,   0.03125f,  0.015625f,  // straight
    12.0f,     6.0f,      3.0f,      1.5f,      0.75f,
    0.375f,    0.1875f,   0.09375f,  0.046875f, 0.0234375f,  // dotted
    16.0f / 3, 8.0f / 3,  4.0f / 3,  2.0f / 3,  1.0f / 3,
    1.0f / 6,  1.0f / 12, 1.0f / 24, 1.0f / 48, 1.0f / 96,  // triplet
};

const char* const kNames[kNoteValueCount] = {
    "8/1",  "4/1", "2/1", "1/1", "1/2", "1/4", "1/8",  "1/16", "1/32", "1/64",
    "12/1", "6/1", "3/1", "3/2", "3/4", "3/8", "3/16", "3/32", "3/64", "3/128",
    "16/3", "8/3", "4/3", "2/3", "1/3", "1/6", "1/12", "1/24", "1/48", "1/96",
};

int limitIndex(int index) {
    return index < 0 ? 0 : (index >= kNoteValueCount ? kNoteValueCount - 1 : index);
}

}  // namespace

float noteValueLength(int index) {
    return kLengths[limitIndex(index)];
}

const char* noteValueName(int index) {
    return kNames[limitIndex(index)];
}

float noteValueSeconds(int index, float bpm) {
    return 240.0f * noteValueLength(index) / bpm;
}

int noteValueFromText(const char* text) {
    if (text == nullptr) return -1;
    while (*text == ' ')
        ++text;
    for (int index = 0; index < kNoteValueCount; ++index) {
        size_t length = std::strlen(kNames[index]);
        if (std::strncmp(text, kNames[index], length) == 0 &&
            (text[length] == 0 || text[length] == ' ')) {
            return index;
        }
    }
    return -1;
}

void noteValueDisplay(const Module& /*module*/, float value, ModuleText& text) {
    formatText(text, "%.2f", noteValueLength(valueToIndex(value, kNoteValueCount)));
}

void noteValueEditorText(const Module& /*module*/, float value, ModuleText& text) {
    setText(text, noteValueName(valueToIndex(value, kNoteValueCount)));
}

}  // namespace kirra
