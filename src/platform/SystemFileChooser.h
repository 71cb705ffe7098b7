#pragma once
// The desktop's file dialog: zenity or kdialog, whichever is installed (kdialog first on a KDE
// desktop), started without a shell. Without either, every request answers kUnavailable.

#include <string>
#include <vector>

#include "platform/FileChooser.h"

namespace platform {

class SystemFileChooser : public FileChooser {
  public:
    FileDialogResult choose(const FileDialogRequest& request, std::string& path) override;

    // Command lines of the two dialog programs (without the program itself).
    static std::vector<std::string> zenityArguments(const FileDialogRequest& request);
    static std::vector<std::string> kdialogArguments(const FileDialogRequest& request);
};

// A save dialog's answer without the extension gets it, as a user who typed a bare name expects.
std::string withExtension(const std::string& path, const std::string& extension);

}  // namespace platform
