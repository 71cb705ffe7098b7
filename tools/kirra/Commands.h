#pragma once
// The host's commands; each answers the process exit code.

#include "kirra/CommandLine.h"
#include "kirra/PluginHost.h"

namespace host {

int runInfo(const Options& options);
int runRender(const Options& options);
int runBench(const Options& options);
int runGui(const Options& options);
int runScreenshot(const Options& options);

// Loads the plug-in of the options at a sample rate and block size; prints the reason on failure.
bool loadPlugin(const Options& options, PluginHost& plugin, double sampleRate);
// Applies the --set options; prints the reason on failure.
bool applySettingsOrFail(PluginHost& plugin, const Options& options);

}  // namespace host
