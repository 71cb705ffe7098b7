// kirra: a command-line VST 2.4 host for rendering, inspecting and measuring plug-ins.

#include <cstdio>

#include "kirra/Commands.h"
#include "kirra/ProgramCommands.h"

int main(int argc, char** argv) {
    host::Options options;
    std::string error;
    if (!host::parseCommandLine(argc, argv, options, error)) {
        std::fprintf(stderr, "kirra: %s\n", error.c_str());
        host::printUsage();
        return 2;
    }
    if (options.command == "info") return host::runInfo(options);
    if (options.command == "render") return host::runRender(options);
    if (options.command == "bench") return host::runBench(options);
    if (options.command == "programs") return host::runPrograms(options);
    if (options.command == "save-preset") return host::runSavePreset(options);
    if (options.command == "save-bank") return host::runSaveBank(options);
    if (options.command == "gui") return host::runGui(options);
    if (options.command == "screenshot") return host::runScreenshot(options);
    if (options.command == "help" || options.command == "--help") {
        host::printUsage();
        return 0;
    }
    std::fprintf(stderr, "kirra: unknown command %s\n", options.command.c_str());
    host::printUsage();
    return 2;
}
