#pragma once
// The editor side of a plug-in as the host drives it: rectangle, open inside the host's window,
// close and idle. The engine knows its editor only through this interface.

#include "vst/VstApi.h"

namespace vst {

class AEffEditor {
  public:
    virtual ~AEffEditor() = default;
    // Hands out the editor's size; answers false when it has none.
    virtual bool getRect(ERect** rect) = 0;
    // Opens inside the host's parent window (an X11 window id on Linux); false when it cannot.
    virtual bool open(void* parentWindow) = 0;
    virtual void close() = 0;
    virtual void idle() {}
    virtual bool isOpen() const = 0;
};

}  // namespace vst
