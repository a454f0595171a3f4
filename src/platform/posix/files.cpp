#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <string>

#include "imaging/memory_budget.h"

namespace {

// Owns a file descriptor.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now, reporting whether the close succeeded.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

FileDescriptor openForReading(const char* path) { return FileDescriptor(::open(path, O_RDONLY | O_CLOEXEC)); }

// Reads until count bytes are in or the file ends; the number read, or -1.
ssize_t readFully(int fd, std::uint8_t* into, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::read(fd, into + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return -1;
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

bool writeFully(int fd, const std::uint8_t* from, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd, from + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes the renamed file durable: its folder's entry is flushed too.
void syncFolder(const std::string& folder) {
    FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid()) ::fsync(fd.get());
}

}  // namespace

std::optional<Bytes> readFileStart(const char* path, std::size_t count) {
    FileDescriptor fd = openForReading(path);
    if (!fd.valid()) return std::nullopt;
    Bytes bytes = Bytes::tryOfSize(count);
    if (bytes.empty()) return std::nullopt;
    const ssize_t n = readFully(fd.get(), bytes.data(), count);
    if (n < 0) return std::nullopt;
    if (static_cast<std::size_t>(n) == count) return bytes;
    Bytes shorter = Bytes::tryOfSize(static_cast<std::size_t>(n));
    if (n > 0) std::copy(bytes.data(), bytes.data() + n, shorter.data());
    return shorter;
}

std::optional<Bytes> readWholeFile(const char* path) {
    FileDescriptor fd = openForReading(path);
    struct stat status {};
    if (!fd.valid() || ::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    const auto size = static_cast<std::uint64_t>(status.st_size);
    if (size == 0 || size > static_cast<std::uint64_t>(INT32_MAX) || !memoryCanHold(size)) return std::nullopt;
    Bytes bytes = Bytes::tryOfSize(static_cast<std::size_t>(size));
    if (bytes.empty()) return std::nullopt;
    // A file cut short while it is read is no longer the file that was asked for.
    if (readFully(fd.get(), bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) return std::nullopt;
    return bytes;
}

bool replaceFileAtomically(const char* path, ByteView data) {
    const std::string target(path);
    struct stat status {};
    const bool exists = ::stat(path, &status) == 0;
    // Read-only means no write bit; the bits count even for a user whom the
    // system would let write anyway.
    const bool readOnly = (status.st_mode & 0222) == 0 || ::access(path, W_OK) != 0;
    if (exists && (!S_ISREG(status.st_mode) || readOnly)) return false;

    std::string temporary = folderOf(target) + "/.squarepic-XXXXXX";
    FileDescriptor fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!fd.valid()) return false;
    // A replaced file keeps its permissions; a new one gets the usual ones.
    const mode_t mode = exists ? (status.st_mode & 07777) : [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return static_cast<mode_t>(0666 & ~mask);
    }();
    const bool written = ::fchmod(fd.get(), mode) == 0 && writeFully(fd.get(), data.data, data.size) &&
                         ::fsync(fd.get()) == 0 && fd.close();
    if (!written || ::rename(temporary.c_str(), path) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(folderOf(target));
    return true;
}
