#pragma once
// kirra programs, save-preset and save-bank: the plug-in's programs through its state chunk.

#include "kirra/CommandLine.h"

namespace host {

int runPrograms(const Options& options);
int runSavePreset(const Options& options);
int runSaveBank(const Options& options);

}  // namespace host
