#include "engine/Preferences.h"

namespace kirra {

namespace {

constexpr const char* kDirectoryValue = "CurrDir";
constexpr const char* kBankValue = "CurrBank";
constexpr const char* kPresetValue = "CurrPreset";

void readValue(const platform::UserStore& store, const char* name, size_t maxBytes,
               std::string& value) {
    std::string text;
    if (store.readText(name, maxBytes, text)) value = text;
}

void writeValue(const platform::UserStore& store, const char* name, const std::string& value,
                bool& changed) {
    if (changed && store.writeText(name, value)) changed = false;
}

}  // namespace

void Preferences::load(const platform::UserStore& store) {
    readValue(store, kDirectoryValue, kDirectoryBytes, directory_);
    readValue(store, kBankValue, kFileNameBytes, bankFileName_);
    readValue(store, kPresetValue, kFileNameBytes, presetFileName_);
    directoryChanged_ = presetChanged_ = bankChanged_ = false;
}

void Preferences::save(const platform::UserStore& store) {
    writeValue(store, kDirectoryValue, directory_, directoryChanged_);
    writeValue(store, kBankValue, bankFileName_, bankChanged_);
    writeValue(store, kPresetValue, presetFileName_, presetChanged_);
}

void Preferences::rememberPresetPath(const std::string& path) {
    remember(path, presetFileName_, presetChanged_);
}

void Preferences::rememberBankPath(const std::string& path) {
    remember(path, bankFileName_, bankChanged_);
}

void Preferences::remember(const std::string& path, std::string& fileName, bool& fileNameChanged) {
    size_t slash = path.rfind('/');
    std::string directory = slash == std::string::npos ? std::string() : path.substr(0, slash);
    if (slash == 0) directory = "/";
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (!directory.empty() && directory.size() <= kDirectoryBytes && directory != directory_) {
        directory_ = directory;
        directoryChanged_ = true;
    }
    if (!name.empty() && name.size() <= kFileNameBytes && name != fileName) {
        fileName = name;
        fileNameChanged = true;
    }
}

}  // namespace kirra
