#include "test_folder.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

TestFolder::TestFolder() {
    std::error_code error;
    const std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
    if (error) return;
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate =
            temporary / (L"squarepic-window-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                         std::to_wstring(attempt));
        if (std::filesystem::create_directory(candidate, error)) {
            path_ = candidate.wstring();
            return;
        }
    }
}

TestFolder::~TestFolder() {
    std::error_code error;
    if (valid()) std::filesystem::remove_all(path_, error);
}

std::wstring TestFolder::file(std::wstring_view name) const { return path_ + L"\\" + std::wstring(name); }

std::wstring TestFolder::write(std::wstring_view name, const std::vector<std::uint8_t>& bytes) const {
    const std::wstring where = file(name);
    std::ofstream(std::filesystem::path(where), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return where;
}

// Shared for everything, deleting included, so that a test looking at a
// file never keeps the program from replacing it.
std::vector<std::uint8_t> TestFolder::read(std::wstring_view name) const {
    HANDLE handle = ::CreateFileW(file(name).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return {};
    const std::unique_ptr<void, decltype(&::CloseHandle)> closer(handle, &::CloseHandle);
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(handle, &size)) return {};
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!::ReadFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) return {};
    bytes.resize(read);
    return bytes;
}
