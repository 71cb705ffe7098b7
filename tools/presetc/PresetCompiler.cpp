#include "presetc/PresetCompiler.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "presetc/ProgramParser.h"

namespace presets {

namespace {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

// A program file's place in its bank from its name "NN-title.program", or 0.
int programNumber(const std::string& fileName) {
    int number = std::atoi(fileName.c_str());
    if (fileName.size() < 3 || fileName[2] != '-' || number < 1 || number > kProgramsPerBank)
        return 0;
    return number;
}

}  // namespace

bool PresetCompiler::compileProgram(const std::string& text, const std::string& fileName,
                                    CompiledProgram& program,
                                    std::vector<Diagnostic>& diagnostics) {
    std::vector<Diagnostic> found;
    ProgramSyntax syntax = parseProgram(text, fileName, found);
    const bool wellFormed = found.empty();
    // Applied even when malformed, so one run reports every mistake in the file.
    const bool applied = applier_.apply(syntax, fileName, program, found);
    // In file order, what concerns the file as a whole last.
    std::stable_sort(found.begin(), found.end(), [](const Diagnostic& a, const Diagnostic& b) {
        return (a.line == 0 ? INT_MAX : a.line) < (b.line == 0 ? INT_MAX : b.line);
    });
    diagnostics.insert(diagnostics.end(), found.begin(), found.end());
    return wellFormed && applied;
}

bool PresetCompiler::compileBanks(const std::string& directory, Banks& banks,
                                  std::vector<Diagnostic>& diagnostics) {
    namespace fs = std::filesystem;
    const char* const kBankFolders[kBanks] = {"A", "B", "C"};
    bool ok = true;
    for (int bank = 0; bank < kBanks; ++bank) {
        fs::path folder = fs::path(directory) / kBankFolders[bank];
        std::map<int, fs::path> files;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folder, error)) {
            if (entry.path().extension() != ".program") continue;
            int number = programNumber(entry.path().filename().string());
            if (number == 0) {
                diagnostics.push_back(
                    {entry.path().string(), 0,
                     "program files are named NN-title.program, NN from 01 to 64"});
                ok = false;
            } else if (!files.emplace(number, entry.path()).second) {
                diagnostics.push_back({entry.path().string(), 0,
                                       "a second program numbered " + std::to_string(number)});
                ok = false;
            }
        }
        if (error) {
            diagnostics.push_back({folder.string(), 0, "cannot read the folder"});
            ok = false;
            continue;
        }
        banks[bank].assign(kProgramsPerBank, CompiledProgram{});
        for (int number = 1; number <= kProgramsPerBank; ++number) {
            auto found = files.find(number);
            if (found == files.end()) {
                diagnostics.push_back(
                    {folder.string(), 0, "program " + std::to_string(number) + " is missing"});
                ok = false;
                continue;
            }
            ok = compileProgram(readFile(found->second), found->second.string(),
                                banks[bank][number - 1], diagnostics) &&
                 ok;
        }
    }
    return ok;
}

}  // namespace presets
