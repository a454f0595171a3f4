#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <sys/resource.h>
#include <sys/wait.h>
#endif
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/files.h"

namespace {

namespace fs = std::filesystem;

class FilesTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("squarepic-files-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    // Paths as UTF-8, the way the core carries them on every platform.
    std::string path(const char* name) const { return (folder_ / fs::u8path(name)).u8string(); }
    std::vector<std::string> namesInFolder() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) names.push_back(entry.path().filename().u8string());
        return names;
    }

    fs::path folder_;
};

std::string contentOf(const std::string& path) {
    std::ifstream in(fs::u8path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(fs::u8path(path), std::ios::binary) << text;
}

// No write permission on POSIX, the read-only attribute on Windows.
void setReadOnly(const std::string& path, bool readOnly) {
    const auto readable = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(fs::u8path(path), readOnly ? readable : readable | fs::perms::owner_write);
}

ByteView viewOf(const std::string& text) { return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}; }

TEST_F(FilesTest, ReadsTheStartAndTheWhole) {
    writeText(path("a.bin"), "0123456789");
    EXPECT_EQ(readFileStart(path("a.bin").c_str(), 8)->size(), 8u);
    EXPECT_EQ(readFileStart(path("a.bin").c_str(), 20)->size(), 10u);
    EXPECT_EQ(readWholeFile(path("a.bin").c_str())->size(), 10u);
    EXPECT_FALSE(readWholeFile(path("missing").c_str()));
    EXPECT_FALSE(readWholeFile(folder_.string().c_str()));  // a folder is no file
}

TEST_F(FilesTest, ReplacesAndCreatesWholeFiles) {
    writeText(path("out.bmp"), "old content");
    EXPECT_TRUE(replaceFileAtomically(path("out.bmp").c_str(), viewOf("new")));
    EXPECT_EQ(contentOf(path("out.bmp")), "new");
    EXPECT_TRUE(replaceFileAtomically(path("caf\xC3\xA9 \xE2\x9C\x93.bmp").c_str(), viewOf("x")));
    EXPECT_EQ(contentOf(path("caf\xC3\xA9 \xE2\x9C\x93.bmp")), "x");
    EXPECT_EQ(namesInFolder().size(), 2u);
}

TEST_F(FilesTest, RefusesAReadOnlyTargetAndAMissingFolder) {
    writeText(path("locked.bmp"), "keep me");
    setReadOnly(path("locked.bmp"), true);
    EXPECT_FALSE(replaceFileAtomically(path("locked.bmp").c_str(), viewOf("new")));
    EXPECT_EQ(contentOf(path("locked.bmp")), "keep me");
    EXPECT_FALSE(replaceFileAtomically(path("no folder/out.bmp").c_str(), viewOf("new")));
    EXPECT_EQ(namesInFolder(), std::vector<std::string>{"locked.bmp"});
    setReadOnly(path("locked.bmp"), false);  // so that the folder can go
}

#ifdef _WIN32

std::wstring wide(const std::string& utf8) { return fs::u8path(utf8).wstring(); }

TEST_F(FilesTest, ATargetHeldOpenElsewhereStaysAsItWas) {
    writeText(path("held.bmp"), "old content");
    // Another program reading the file, sharing it for reading only.
    const HANDLE held = ::CreateFileW(wide(path("held.bmp")).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(replaceFileAtomically(path("held.bmp").c_str(), viewOf("new")));
    ::CloseHandle(held);
    EXPECT_EQ(contentOf(path("held.bmp")), "old content");
    EXPECT_EQ(namesInFolder(), std::vector<std::string>{"held.bmp"});
}

TEST_F(FilesTest, OthersMayReadNotWriteWhileAFileIsRead) {
    writeText(path("shared.bmp"), "0123456789");
    const HANDLE reader = ::CreateFileW(wide(path("shared.bmp")).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(readWholeFile(path("shared.bmp").c_str())->size(), 10u);
    ::CloseHandle(reader);
    const HANDLE writer = ::CreateFileW(wide(path("shared.bmp")).c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(readWholeFile(path("shared.bmp").c_str())) << "read while another program writes";
    ::CloseHandle(writer);
}

#else

TEST_F(FilesTest, AShortWriteLeavesTheOldFileAsItWas) {
    writeText(path("out.bmp"), "old content");
    // A child with a file size limit of 4 bytes: its write stops part-way.
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4, 4};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(replaceFileAtomically(path("out.bmp").c_str(), viewOf("much longer content")) ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the cut-off write reported success";
    EXPECT_EQ(contentOf(path("out.bmp")), "old content");
    EXPECT_EQ(namesInFolder(), std::vector<std::string>{"out.bmp"});
}

#endif

}  // namespace
