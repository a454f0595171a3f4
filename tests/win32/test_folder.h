#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A fresh folder under the user's temporary folder for one test's files,
// removed with them when the test ends.
class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    bool valid() const { return !path_.empty(); }
    const std::wstring& path() const { return path_; }
    std::wstring file(std::wstring_view name) const;

    // Writes the bytes as the named file; the path written.
    std::wstring write(std::wstring_view name, const std::vector<std::uint8_t>& bytes) const;
    // The whole file; empty when it cannot be read.
    std::vector<std::uint8_t> read(std::wstring_view name) const;

private:
    std::wstring path_;
};
