// kirra gui in a build without the editor (KIRRA_GUI=OFF): such a build needs no X11, so the
// host has no window to offer a plug-in's editor.

#include <cstdio>

#include "kirra/Commands.h"

namespace host {

int runGui(const Options&) {
    std::fprintf(stderr, "kirra: gui needs a build with the editor (KIRRA_GUI=ON)\n");
    return 1;
}

}  // namespace host
