#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

namespace platform {

namespace {

// Closes a descriptor when the scope ends.
struct Descriptor {
    int fd = -1;
    explicit Descriptor(int descriptor) : fd(descriptor) {}
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int release() {
        int descriptor = fd;
        fd = -1;
        return descriptor;
    }
};

bool writeAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

std::string directoryOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// So that the rename itself survives a power cut; failure only loses that guarantee.
void syncDirectory(const std::string& directory) {
    Descriptor fd(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.fd >= 0) ::fsync(fd.fd);
}

// A temporary name in the target's folder, unique among instances and threads.
int createTemporary(const std::string& path, std::string& temporary) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[64];
        std::snprintf(suffix, sizeof(suffix), ".tmp-%ld-%u", static_cast<long>(::getpid()),
                      counter.fetch_add(1));
        temporary = path + suffix;
        int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

bool readFile(const std::string& path, size_t maxBytes, std::vector<uint8_t>& data) {
    data.clear();
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.fd < 0) return false;
    struct stat info {};
    if (::fstat(fd.fd, &info) != 0 || !S_ISREG(info.st_mode)) return false;
    size_t expected =
        static_cast<size_t>(info.st_size) < maxBytes ? static_cast<size_t>(info.st_size) : maxBytes;
    data.resize(expected);
    size_t done = 0;
    while (done < expected) {
        ssize_t got = ::read(fd.fd, data.data() + done, expected - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            data.clear();
            return false;
        }
        if (got == 0) break;  // the file shrank meanwhile
        done += static_cast<size_t>(got);
    }
    data.resize(done);
    return true;
}

bool writeFileAtomically(const std::string& path, const void* data, size_t size) {
    if (path.empty() || (data == nullptr && size > 0)) return false;
    std::string temporary;
    Descriptor fd(createTemporary(path, temporary));
    if (fd.fd < 0) return false;
    bool written = writeAll(fd.fd, static_cast<const uint8_t*>(data), size) && ::fsync(fd.fd) == 0;
    bool closed = ::close(fd.release()) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncDirectory(directoryOf(path));
    return true;
}

bool makeDirectories(const std::string& path) {
    if (path.empty()) return false;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
    std::string parent = directoryOf(path);
    if (parent != path && !makeDirectories(parent)) return false;
    if (::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST) {
        return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    }
    return false;
}

bool removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

}  // namespace platform
