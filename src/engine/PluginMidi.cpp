// MIDI messages from the host's event list, handled at their sample inside the block.

#include "engine/Plugin.h"

namespace kirra {

void Plugin::handleMidiMessage(uint8_t /*status*/, uint8_t /*data1*/, uint8_t /*data2*/) {}

}  // namespace kirra
