#pragma once
// Tests never touch the real user's configuration: before any test runs, XDG_CONFIG_HOME and
// XDG_DATA_HOME point at a temporary folder of the test process (and GDK_SCALE at 100 %). A test
// that needs a store of its own (default banks, clipboard, preferences) takes a fresh one with
// ScopedConfigHome.

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// A fresh temporary folder, removed with everything in it at the end of the scope.
class TemporaryFolder {
  public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

// Sets an environment variable for the scope, then restores or unsets it.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::string& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    const char* name_;
    bool hadValue_ = false;
    std::string previous_;
};

// Points XDG_CONFIG_HOME at a fresh folder for the scope, then back where it was.
class ScopedConfigHome {
  public:
    const std::string& path() const { return folder_.path(); }
    // The per-user store's folder inside it.
    std::string storeFolder() const { return folder_.path() + "/Vantor/VantorKirra"; }

  private:
    TemporaryFolder folder_;
    ScopedEnvironment variable_{"XDG_CONFIG_HOME", folder_.path()};
};

std::vector<uint8_t> readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes);
// Every 32-bit word in [from, to) byte-reversed, as the other byte order writes it.
void reverseWords(std::vector<uint8_t>& bytes, size_t from, size_t to);
// The names in a folder, without "." and "..".
std::vector<std::string> listFolder(const std::string& path);

}  // namespace testing_support
