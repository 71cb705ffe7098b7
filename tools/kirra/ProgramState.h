#pragma once
// The plug-in's programs as the host sees them: its state chunk, read with effGetChunk and given
// back with effSetChunk, as a DAW saves and restores a project. Selecting programs and loading
// preset or bank files go through this too, since a host cannot reach the plug-in's own library.

#include <memory>
#include <string>

#include "engine/ProgramStore.h"
#include "engine/StateChunk.h"
#include "kirra/CommandLine.h"
#include "kirra/PluginHost.h"

namespace host {

class ProgramState {
  public:
    // False with a reason when the plug-in's chunk is not a state chunk of this plug-in.
    bool read(PluginHost& plugin, std::string& error);
    // Gives the (edited) state back; false when the plug-in refuses it.
    bool write(PluginHost& plugin, std::string& error);

    kirra::ProgramStore& programs() { return *programs_; }

  private:
    std::unique_ptr<kirra::ProgramStore> programs_ = std::make_unique<kirra::ProgramStore>();
    kirra::ChunkSelection selection_;
};

// Applies --bank, --program and --preset, in that order; true when there was nothing to do.
bool applyProgramOptions(PluginHost& plugin, const Options& options, std::string& error);

// "A:1": a program's bank letter and number.
std::string programLabel(int bank, int preset);

}  // namespace host
