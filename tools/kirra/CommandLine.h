#pragma once
// Options of the command-line host.

#include <string>
#include <utility>
#include <vector>

namespace host {

struct Options {
    std::string command;
    std::vector<std::string> positional;
    std::string pluginPath;
    std::string sidechainPath;
    std::string midiPath;
    // Host transport: 0 takes the MIDI file's first tempo, else 120
    double tempoBpm = 0.0;
    double startQuarterNotes = 0.0;
    bool transportStopped = false;
    // --set NAME_OR_INDEX=VALUE, applied in order
    std::vector<std::pair<std::string, std::string>> settings;
    double sampleRate = 0.0;  // 0: the input file's rate, else 44100
    int blockSize = 512;
    double tailSeconds = 0.0;
    double seconds = 10.0;  // bench length; gui: how long to stay open when given
    bool secondsGiven = false;
    // screenshot: main page 0..3, operator and modulator slots 1..4; -1 keeps the plug-in's
    int page = -1;
    int operatorSlot = -1;
    int modulatorSlot = -1;
    int zoomPercent = 0;  // screenshot: 0 keeps the user's zoom
    int repeat = 5;       // bench runs
    bool doublePrecision = false;
    // --program BANK:N as bank 0..2 and program 0..63; -1 when not given
    int programBank = -1;
    int programNumber = -1;
    std::string presetPath;  // --preset FILE.vtp
    std::string bankPath;    // --bank FILE.vtb
    bool quiet = false;
};

bool parseCommandLine(int argc, char** argv, Options& options, std::string& error);
// The kirra.so built beside this executable.
std::string defaultPluginPath();
void printUsage();

}  // namespace host
