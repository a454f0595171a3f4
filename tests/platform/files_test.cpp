#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

    std::string path(const char* name) const { return (folder_ / name).string(); }
    std::vector<std::string> namesInFolder() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) names.push_back(entry.path().filename().string());
        return names;
    }

    fs::path folder_;
};

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

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
    ::chmod(path("locked.bmp").c_str(), 0444);
    EXPECT_FALSE(replaceFileAtomically(path("locked.bmp").c_str(), viewOf("new")));
    EXPECT_EQ(contentOf(path("locked.bmp")), "keep me");
    EXPECT_FALSE(replaceFileAtomically(path("no folder/out.bmp").c_str(), viewOf("new")));
    EXPECT_EQ(namesInFolder(), std::vector<std::string>{"locked.bmp"});
}

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

}  // namespace
