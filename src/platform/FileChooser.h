#pragma once
// Asking the user for a file to load or save. The editor's library page goes through this
// interface, so tests can stand in for the desktop's dialog.

#include <string>

namespace platform {

struct FileDialogRequest {
    bool save = false;
    std::string title;       // "Select preset to load"
    std::string filterName;  // "Vantor Preset"
    std::string extension;   // "vtp", without the dot
    std::string directory;   // where the dialog starts; empty for the dialog's own choice
    std::string fileName;    // proposed name of a save dialog
};

enum class FileDialogResult {
    kChosen,
    kCancelled,
    kUnavailable,  // no dialog program could be shown; the editor offers a path field instead
};

class FileChooser {
  public:
    virtual ~FileChooser() = default;
    // On kChosen, path holds the absolute path the user chose.
    virtual FileDialogResult choose(const FileDialogRequest& request, std::string& path) = 0;
};

}  // namespace platform
