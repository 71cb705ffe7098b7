#include "platform/SystemFileChooser.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "platform/Subprocess.h"

namespace platform {

namespace {

// Where the dialog opens: the proposed file in the remembered folder, or the folder itself
// (a trailing slash tells the dialogs it is a folder).
std::string startPath(const FileDialogRequest& request) {
    std::string start = request.directory;
    if (!start.empty() && start.back() != '/') start += '/';
    if (request.save) start += request.fileName;
    return start;
}

bool prefersKdialog() {
    const char* desktop = std::getenv("XDG_CURRENT_DESKTOP");
    return desktop != nullptr && std::strstr(desktop, "KDE") != nullptr;
}

bool endsWithNoCase(const std::string& text, const std::string& suffix) {
    if (suffix.size() > text.size()) return false;
    for (size_t i = 0; i < suffix.size(); ++i) {
        unsigned char a = static_cast<unsigned char>(text[text.size() - suffix.size() + i]);
        unsigned char b = static_cast<unsigned char>(suffix[i]);
        if (std::tolower(a) != std::tolower(b)) return false;
    }
    return true;
}

}  // namespace

std::vector<std::string> SystemFileChooser::zenityArguments(const FileDialogRequest& request) {
    std::vector<std::string> arguments = {
        "--file-selection", "--title=" + request.title,
        "--file-filter=" + request.filterName + " | *." + request.extension,
        "--file-filter=All files | *"};
    if (request.save) {
        arguments.push_back("--save");
        arguments.push_back("--confirm-overwrite");
    }
    std::string start = startPath(request);
    if (!start.empty()) arguments.push_back("--filename=" + start);
    return arguments;
}

std::vector<std::string> SystemFileChooser::kdialogArguments(const FileDialogRequest& request) {
    std::string start = startPath(request);
    return {"--title", request.title, request.save ? "--getsavefilename" : "--getopenfilename",
            start.empty() ? std::string(".") : start,
            "*." + request.extension + "|" + request.filterName};
}

FileDialogResult SystemFileChooser::choose(const FileDialogRequest& request, std::string& path) {
    std::string zenity = findProgram("zenity");
    std::string kdialog = findProgram("kdialog");
    bool useKdialog = !kdialog.empty() && (zenity.empty() || prefersKdialog());
    if (!useKdialog && zenity.empty()) return FileDialogResult::kUnavailable;

    std::vector<std::string> command = {useKdialog ? kdialog : zenity};
    std::vector<std::string> arguments =
        useKdialog ? kdialogArguments(request) : zenityArguments(request);
    command.insert(command.end(), arguments.begin(), arguments.end());
    std::string output;
    int status = runProgram(command, output);
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r'))
        output.pop_back();
    // Exit 1 is the dialogs' "cancelled"; anything else odd (no display) means no dialog.
    if (status == 1) return FileDialogResult::kCancelled;
    if (status != 0) return FileDialogResult::kUnavailable;
    if (output.empty() || output[0] != '/') return FileDialogResult::kCancelled;
    path = request.save ? withExtension(output, request.extension) : output;
    return FileDialogResult::kChosen;
}

std::string withExtension(const std::string& path, const std::string& extension) {
    if (extension.empty() || endsWithNoCase(path, "." + extension)) return path;
    return path + "." + extension;
}

}  // namespace platform
