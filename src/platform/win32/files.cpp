#include "platform/files.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <climits>
#include <string>

#include "imaging/memory_budget.h"

namespace {

// Owns a file handle.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle(FileHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = INVALID_HANDLE_VALUE; }
    ~FileHandle() {
        if (valid()) ::CloseHandle(handle_);
    }
    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    // Closes now, reporting whether the close succeeded.
    bool close() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return ::CloseHandle(handle) != 0;
    }

private:
    HANDLE handle_;
};

// ReadFile and WriteFile move at most a DWORD at a time; a gigabyte per call
// keeps every count well inside it.
constexpr std::size_t largestTransfer = std::size_t(1) << 30;

// The UTF-8 path as UTF-16 for the wide calls; nothing for broken UTF-8.
std::optional<std::wstring> widePath(const char* path) {
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, nullptr, 0);
    if (length <= 1) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, path, -1, wide.data(), length) != length) {
        return std::nullopt;
    }
    wide.pop_back();  // the terminating zero
    return wide;
}

// Opens an existing plain file; others may read it meanwhile, not write it.
FileHandle openForReading(const char* path) {
    const auto wide = widePath(path);
    if (!wide) return FileHandle(INVALID_HANDLE_VALUE);
    FileHandle file(::CreateFileW(wide->c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    // Devices and pipes are no picture files.
    if (file.valid() && ::GetFileType(file.get()) != FILE_TYPE_DISK) return FileHandle(INVALID_HANDLE_VALUE);
    return file;
}

// Reads until count bytes are in or the file ends; the number read, or
// nothing on an error.
std::optional<std::size_t> readFully(HANDLE file, std::uint8_t* into, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const auto chunk = static_cast<DWORD>(std::min(count - done, largestTransfer));
        DWORD n = 0;
        if (!::ReadFile(file, into + done, chunk, &n, nullptr)) return std::nullopt;
        if (n == 0) break;
        done += n;
    }
    return done;
}

bool writeFully(HANDLE file, const std::uint8_t* from, std::size_t count) {
    std::size_t done = 0;
    while (done < count) {
        const auto chunk = static_cast<DWORD>(std::min(count - done, largestTransfer));
        DWORD n = 0;
        if (!::WriteFile(file, from + done, chunk, &n, nullptr) || n == 0) return false;
        done += n;
    }
    return true;
}

// Everything up to and including the last separator or drive colon: the
// temporary file's name goes right after it, so it lands in the target's
// own folder and the final move stays on one volume.
std::wstring folderPrefixOf(const std::wstring& path) {
    const std::size_t end = path.find_last_of(L"\\/:");
    return end == std::wstring::npos ? std::wstring() : path.substr(0, end + 1);
}

// Creates a new, empty temporary file beside the target, open for writing
// and shared with no one; its name goes to name.
FileHandle createTemporaryBeside(const std::wstring& target, std::wstring& name) {
    const std::wstring prefix = folderPrefixOf(target) + L".squarepic-" + std::to_wstring(::GetCurrentProcessId()) +
                                L"-" + std::to_wstring(::GetTickCount64()) + L"-";
    // A name taken by another file is tried again with the next number;
    // a handful of tries is plenty, since the names are this process's own.
    for (int attempt = 0; attempt < 16; ++attempt) {
        name = prefix + std::to_wstring(attempt) + L".tmp";
        FileHandle file(
            ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.valid() || ::GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return FileHandle(INVALID_HANDLE_VALUE);
}

}  // namespace

std::optional<Bytes> readFileStart(const char* path, std::size_t count) {
    FileHandle file = openForReading(path);
    if (!file.valid()) return std::nullopt;
    Bytes bytes = Bytes::tryOfSize(count);
    if (bytes.empty()) return std::nullopt;
    const auto n = readFully(file.get(), bytes.data(), count);
    if (!n) return std::nullopt;
    if (*n == count) return bytes;
    Bytes shorter = Bytes::tryOfSize(*n);
    std::copy(bytes.data(), bytes.data() + *n, shorter.data());
    return shorter;
}

std::optional<Bytes> readWholeFile(const char* path) {
    FileHandle file = openForReading(path);
    LARGE_INTEGER fileSize{};
    if (!file.valid() || !::GetFileSizeEx(file.get(), &fileSize)) return std::nullopt;
    const auto size = static_cast<std::uint64_t>(fileSize.QuadPart);
    if (size == 0 || size > static_cast<std::uint64_t>(INT32_MAX) || !memoryCanHold(size)) return std::nullopt;
    Bytes bytes = Bytes::tryOfSize(static_cast<std::size_t>(size));
    if (bytes.empty()) return std::nullopt;
    // A file cut short while it is read is no longer the file that was asked for.
    if (readFully(file.get(), bytes.data(), bytes.size()) != bytes.size()) return std::nullopt;
    return bytes;
}

bool replaceFileAtomically(const char* path, ByteView data) {
    const auto target = widePath(path);
    if (!target) return false;
    const DWORD attributes = ::GetFileAttributesW(target->c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0) return false;

    std::wstring temporary;
    FileHandle file = createTemporaryBeside(*target, temporary);
    if (!file.valid()) return false;
    const bool written =
        writeFully(file.get(), data.data, data.size) && ::FlushFileBuffers(file.get()) && file.close();
    // The move fails, and the target stays as it was, while another program
    // holds the target open without sharing it for deletion.
    if (!written ||
        !::MoveFileExW(temporary.c_str(), target->c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        if (file.valid()) file.close();
        ::DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}
