#include "kirra/CommandLine.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace host {

namespace {

bool parseDouble(const char* text, double& value) {
    char* end = nullptr;
    value = std::strtod(text, &end);
    return end != text && *end == 0;
}

// "C:20", "c:20" or "3:20": bank 0..2 and program 0..63.
bool parseProgram(const std::string& text, int& bank, int& program) {
    if (text.size() < 3 || text[1] != ':') return false;
    char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    if (letter >= 'A' && letter <= 'C') {
        bank = letter - 'A';
    } else if (letter >= '1' && letter <= '3') {
        bank = letter - '1';
    } else {
        return false;
    }
    double number = 0.0;
    if (!parseDouble(text.c_str() + 2, number) || number < 1 || number > 64 ||
        number != static_cast<int>(number)) {
        return false;
    }
    program = static_cast<int>(number) - 1;
    return true;
}

}  // namespace

void printUsage() {
    std::printf(
        "usage: kirra COMMAND [options]\n"
        "  info                         everything the host sees of the plug-in\n"
        "  render [IN.wav] OUT.wav      process a file (or the built-in demo) offline\n"
        "  bench                        realtime factor on a deterministic signal\n"
        "  programs                     the names of all 192 programs (* marks the current one)\n"
        "  save-preset OUT.vtp          the current program, after the options, as a preset file\n"
        "  save-bank OUT.vtb            the current bank, after the options, as a bank file\n"
        "  gui [IN.wav]                 open the editor in a window while audio loops through\n"
        "  screenshot OUT.png           render the editor offscreen (no display needed)\n"
        "options:\n"
        "  --plugin PATH                any VST 2.4 plug-in (default: kirra.so beside kirra)\n"
        "  --set NAME_OR_INDEX=VALUE    set a host parameter (normalised 0..1); repeatable\n"
        "  --program BANK:N             program N (1..64) of bank A, B or C (or 1, 2, 3)\n"
        "  --bank FILE.vtb              load a bank file into the current bank, select its program "
        "1\n"
        "  --preset FILE.vtp            load a preset file into the current program\n"
        "  --sidechain FILE             sidechain input (plug-in inputs 3 and 4)\n"
        "  --midi FILE.mid              MIDI file played along (notes, controllers, bend,\n"
        "                               pressure), its start at the start of the render\n"
        "  --tempo BPM                  host tempo (default: the MIDI file's, else 120)\n"
        "  --position QUARTERS          song position of the render's start (default 0)\n"
        "  --stopped                    the host's transport is stopped (position stands)\n"
        "  --sr HZ                      sample rate (default: the input's, else 44100)\n"
        "  --block N                    block size (default 512)\n"
        "  --tail SECONDS               render this much silence after the input\n"
        "  --seconds N                  bench length in audio seconds (default 10)\n"
        "  --repeat N                   bench runs, the best and the median reported (default 5)\n"
        "  --double                     use 64-bit processing\n"
        "  --page N --op N --mod N      screenshot: main page 0..3, operator and modulator 1..4\n"
        "  --zoom PERCENT               screenshot: 100, 125, 150, 175 or 200 (default: the "
        "user's)\n"
        "  --quiet                      no summary\n");
}

bool parseCommandLine(int argc, char** argv, Options& options, std::string& error) {
    if (argc < 2) {
        error = "no command";
        return false;
    }
    options.command = argv[1];
    for (int i = 2; i < argc; ++i) {
        std::string arg = argv[i];
        auto needValue = [&](const char* name) -> const char* {
            if (i + 1 >= argc) {
                error = std::string(name) + " needs a value";
                return nullptr;
            }
            return argv[++i];
        };
        double number = 0.0;
        if (arg == "--plugin") {
            const char* value = needValue("--plugin");
            if (value == nullptr) return false;
            options.pluginPath = value;
        } else if (arg == "--program") {
            const char* value = needValue("--program");
            if (value == nullptr) return false;
            if (!parseProgram(value, options.programBank, options.programNumber)) {
                error = std::string("--program wants BANK:N (A, B or C and 1..64), got ") + value;
                return false;
            }
        } else if (arg == "--preset" || arg == "--bank") {
            const char* value = needValue(arg.c_str());
            if (value == nullptr) return false;
            (arg == "--preset" ? options.presetPath : options.bankPath) = value;
        } else if (arg == "--sidechain") {
            const char* value = needValue("--sidechain");
            if (value == nullptr) return false;
            options.sidechainPath = value;
        } else if (arg == "--midi") {
            const char* value = needValue("--midi");
            if (value == nullptr) return false;
            options.midiPath = value;
        } else if (arg == "--tempo" || arg == "--position") {
            const char* value = needValue(arg.c_str());
            if (value == nullptr) return false;
            bool tempo = arg == "--tempo";
            if (!parseDouble(value, number) || !std::isfinite(number) ||
                (tempo && (number < 1.0 || number > 1000.0))) {
                error = tempo ? "--tempo wants 1 to 1000 BPM" : "--position wants a number";
                return false;
            }
            (tempo ? options.tempoBpm : options.startQuarterNotes) = number;
        } else if (arg == "--stopped") {
            options.transportStopped = true;
        } else if (arg == "--set") {
            const char* value = needValue("--set");
            if (value == nullptr) return false;
            std::string setting = value;
            size_t equals = setting.rfind('=');
            if (equals == std::string::npos || equals == 0) {
                error = "--set wants NAME=VALUE, got " + setting;
                return false;
            }
            options.settings.emplace_back(setting.substr(0, equals), setting.substr(equals + 1));
        } else if (arg == "--sr" || arg == "--block" || arg == "--tail" || arg == "--seconds" ||
                   arg == "--repeat") {
            const char* value = needValue(arg.c_str());
            if (value == nullptr) return false;
            if (!parseDouble(value, number) || number < 0.0) {
                error = arg + " wants a positive number";
                return false;
            }
            if (arg == "--sr") options.sampleRate = number;
            if (arg == "--block") options.blockSize = static_cast<int>(number);
            if (arg == "--tail") options.tailSeconds = number;
            if (arg == "--seconds") {
                options.seconds = number;
                options.secondsGiven = true;
            }
            if (arg == "--repeat") options.repeat = std::max(1, static_cast<int>(number));
        } else if (arg == "--page" || arg == "--op" || arg == "--mod") {
            const char* value = needValue(arg.c_str());
            if (value == nullptr) return false;
            bool isPage = arg == "--page";
            int low = isPage ? 0 : 1;
            if (!parseDouble(value, number) || number < low || number > low + 3 ||
                number != static_cast<int>(number)) {
                error = arg + (isPage ? " wants 0 to 3" : " wants 1 to 4");
                return false;
            }
            int choice = static_cast<int>(number);
            if (isPage) options.page = choice;
            if (arg == "--op") options.operatorSlot = choice - 1;
            if (arg == "--mod") options.modulatorSlot = choice - 1;
        } else if (arg == "--zoom") {
            const char* value = needValue(arg.c_str());
            if (value == nullptr) return false;
            if (!parseDouble(value, number) || number < 100 || number > 200 ||
                number != static_cast<int>(number) || static_cast<int>(number) % 25 != 0) {
                error = "--zoom wants 100, 125, 150, 175 or 200";
                return false;
            }
            options.zoomPercent = static_cast<int>(number);
        } else if (arg == "--double") {
            options.doublePrecision = true;
        } else if (arg == "--quiet") {
            options.quiet = true;
        } else if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            error = "unknown option " + arg;
            return false;
        } else {
            options.positional.push_back(arg);
        }
    }
    if (options.blockSize < 1 || options.blockSize > 1 << 20) {
        error = "--block wants 1 to 1048576";
        return false;
    }
    if (options.sampleRate != 0.0 && (options.sampleRate < 1000.0 || options.sampleRate > 1e6)) {
        error = "--sr wants 1000 to 1000000";
        return false;
    }
    if (options.pluginPath.empty()) options.pluginPath = defaultPluginPath();
    return true;
}

std::string defaultPluginPath() {
    char path[4096];
    ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0) return "kirra.so";
    path[length] = 0;
    std::string executable = path;
    size_t slash = executable.rfind('/');
    return (slash == std::string::npos ? std::string(".") : executable.substr(0, slash)) +
           "/kirra.so";
}

}  // namespace host
