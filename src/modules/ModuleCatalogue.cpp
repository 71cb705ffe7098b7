#include "modules/ModuleCatalogue.h"

namespace kirra {

namespace {

const CatalogueEntry kOperators[kOperatorTypeCount] = {
    {"GAIN", "GAIN                  attenuation"},
    {"BIQUAD", "BIQUAD      resonant filter morph"},
    {"SVF", "SVF         resonant filter morph"},
    {"MOOG", "MOOG        lowpass ladder filter"},
    {"COMB", "COMB                  comb filter"},
    {"EQ", "EQ               equalizer filter"},
    {"PHASER", "PHASER         multi-stage phaser"},
    {"LOFI", "LOFI       downsampler/bitcrusher"},
    {"DELAY", "DELAY     interpolated delay line"},
    {"DISTORTION", "DISTORTION             waveshaper"},
    {"COMP/EXP", "COMPEXP    non-lin transfer curve"},
    {"REVERB", "REVERB               reverberator"},
    {"PITCH", "PITCH               pitch shifter"},
    {"STEREO", "STEREO            width / balance"},
    {"PANNER", "PANNER     l/r independent panner"},
    {"PHASEINV", "PHASEINV           phase inverter"},
    {"SIDEMIX", "SIDEMIX           sidechain mixer"},
    {"RECTIFIER", "RECTIFIER     full-wave rectifier"},
    {"FORMANT", "FORMANT            formant filter"},
};

const CatalogueEntry kModulators[kModulatorTypeCount] = {
    {"EMPTY", "EMPTY                            "}, {"LFO", "LFO      low frequency oscillator"},
    {"ENV", "ENV             envelope detector"},   {"ADSR", "ADSR           envelope generator"},
    {"STEP", "STEP               step sequencer"},
};

}  // namespace

const CatalogueEntry& operatorCatalogue(int type) {
    return kOperators[type >= 0 && type < kOperatorTypeCount ? type : 0];
}

const CatalogueEntry& modulatorCatalogue(int type) {
    return kModulators[type >= 0 && type < kModulatorTypeCount ? type : 0];
}

}  // namespace kirra
