#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "actions/actions.h"
#include "actions/gbk_texts.h"
#include "app/working_state.h"
#include "support/bmp_icon_files.h"
#include "support/fake_host.h"
#include "window/description.h"
#include "window/drop_target.h"
#include "window/picture_box.h"

namespace {

namespace fs = std::filesystem;
namespace names = control_names;

using FileBytes = std::vector<std::uint8_t>;

FileBytes fileContent(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return FileBytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& path, const FileBytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

std::int32_t field32(const FileBytes& file, std::size_t at) {
    std::int32_t value = 0;
    std::memcpy(&value, file.data() + at, 4);
    return value;
}

// The length of the 24-bit bitmap file image of an edge x edge square.
std::size_t squareFileLength(std::size_t edge) { return 54 + (3 * edge + 3) / 4 * 4 * edge; }

class Saving : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("squarepic-saving-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        openWindow(host_, actionHandlers());
    }
    void TearDown() override {
        raiseWindowDestroying();
        fs::remove_all(folder_);
    }

    void dropBluePicture() {
        bmp_icon_files::BmpDescription description;
        description.width = description.height = 50;
        description.pixels.assign(50 * 50, 0xFF0000FF);
        const fs::path path = folder_ / "blue.bmp";
        writeFile(path, bmp_icon_files::writeBmp(description));
        const FakeDragData data = FakeDragData::ofFiles({path.string()});
        dragEnter(data, {}, static_cast<AllowedEffects>(DropEffect::Copy));
        drop(data, {}, static_cast<AllowedEffects>(DropEffect::Copy));
    }

    // Presses the save button of the first group with sizeText typed, the
    // dialog answering with path (none: cancelled).
    void save(const std::string& sizeText, const std::optional<fs::path>& path) {
        host_.editTexts[std::string(names::typedSizeBox)] = sizeText;
        host_.saveDialogAnswer = path ? std::optional<std::string>(path->string()) : std::nullopt;
        raiseClicked(names::saveButton);
    }

    // The status text; nothing when no save has set it yet.
    std::optional<std::string> status() const {
        const auto found = host_.controlTexts.find(names::statusLabel);
        return found != host_.controlTexts.end() ? std::optional<std::string>(found->second) : std::nullopt;
    }

    FakeHost& host_ = freshFakeHost();
    fs::path folder_;
};

TEST_F(Saving, EachButtonWritesABitmapOfItsTypedSizeWithoutALimit) {
    struct Case {
        std::string_view button;
        std::string_view sizeBox;
        std::int32_t edge;
    };
    const Case cases[] = {
        {names::saveButton, names::typedSizeBox, 500},
        {names::customSaveButton, names::customSizeBox, 1000},
    };
    dropBluePicture();
    for (const Case& test : cases) {
        const fs::path target = folder_ / ("square" + std::to_string(test.edge) + ".jpg");
        host_.editTexts[std::string(test.sizeBox)] = std::to_string(test.edge);
        host_.saveDialogAnswer = target.string();
        host_.controlTexts.clear();
        raiseClicked(test.button);

        const FileBytes file = fileContent(target);
        ASSERT_EQ(file.size(), squareFileLength(test.edge)) << test.edge;
        EXPECT_EQ(file[0], 'B');
        EXPECT_EQ(file[1], 'M');
        EXPECT_EQ(field32(file, 18), test.edge);
        EXPECT_EQ(field32(file, 22), test.edge);
        EXPECT_EQ(file, FileBytes(outputImage().data(), outputImage().data() + outputImage().size()));
        EXPECT_EQ(status(), std::string(gbk::saveSucceeded));
        // The preview, the slider and the size label stay as they were.
        EXPECT_EQ(host_.controlTexts.count(names::sizeLabel), 0u);
        EXPECT_TRUE(host_.thumbPlacements.empty());
        EXPECT_TRUE(previewPictureBox().hasPicture());
    }
}

TEST_F(Saving, TheDialogProposesTheLastConfirmedPath) {
    const fs::path first = folder_ / "first.jpg";
    save("20", first);
    save("20", std::nullopt);
    save("20", folder_ / "second.jpg");
    ASSERT_EQ(host_.saveDialogRequests.size(), 3u);
    EXPECT_EQ(host_.saveDialogRequests[0].proposedPath, ".jpg");
    EXPECT_EQ(host_.saveDialogRequests[0].defaultExtension, "jpg");
    EXPECT_TRUE(host_.saveDialogRequests[0].overwritePrompt);
    EXPECT_EQ(host_.saveDialogRequests[1].proposedPath, first.string());
    EXPECT_EQ(host_.saveDialogRequests[2].proposedPath, first.string());  // a cancel changes nothing
}

TEST_F(Saving, ACancelledDialogWritesNothingAndKeepsTheStatus) {
    save("20", std::nullopt);
    EXPECT_TRUE(fs::is_empty(folder_));
    EXPECT_EQ(status(), std::nullopt);

    const fs::path target = folder_ / "kept.jpg";
    save("20", target);
    const FileBytes saved = fileContent(target);
    save("30", std::nullopt);
    EXPECT_EQ(fileContent(target), saved);
    EXPECT_EQ(status(), std::string(gbk::saveSucceeded));
}

TEST_F(Saving, AFailedSaveKeepsTheOldFileAndAFollowingSaveSucceeds) {
    const fs::path target = folder_ / "read-only.jpg";
    const FileBytes old = {'o', 'l', 'd'};
    writeFile(target, old);
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    save("20", target);
    EXPECT_EQ(status(), std::string(gbk::saveFailed));
    EXPECT_EQ(fileContent(target), old);

    fs::permissions(target, fs::perms::owner_write, fs::perm_options::add);
    save("20", target);
    EXPECT_EQ(status(), std::string(gbk::saveSucceeded));
    EXPECT_EQ(fileContent(target).size(), squareFileLength(20));
}

TEST_F(Saving, AnUnusableNameFails) {
    for (const fs::path& target : {folder_ / "missing folder" / "a.jpg", fs::path(), folder_}) {
        host_.controlTexts.clear();
        save("20", target);
        EXPECT_EQ(status(), std::string(gbk::saveFailed)) << target;
    }
    EXPECT_TRUE(fs::is_empty(folder_));
}

// A size whose square cannot be made leaves outputImage empty: nothing is
// written, and no file is cut to nothing under a report of success.
TEST_F(Saving, NothingToSaveWritesNothing) {
    const fs::path kept = folder_ / "kept.jpg";
    const FileBytes old = {'o', 'l', 'd'};
    writeFile(kept, old);
    for (const fs::path& target : {kept, folder_ / "new.jpg"}) {
        host_.controlTexts.clear();
        save("100000", target);
        EXPECT_TRUE(outputImage().empty());
        EXPECT_EQ(status(), std::string(gbk::saveFailed)) << target;
    }
    EXPECT_EQ(fileContent(kept), old);
    EXPECT_FALSE(fs::exists(folder_ / "new.jpg"));
}

TEST_F(Saving, ANameOutsideGbkIsWrittenAsItIs) {
    const fs::path target = folder_ / "caf\xC3\xA9 \xE2\x9C\x93.bmp";  // café ✓.bmp in UTF-8
    save("20", target);
    EXPECT_EQ(status(), std::string(gbk::saveSucceeded));
    EXPECT_EQ(fileContent(target).size(), squareFileLength(20));
}

TEST(SavingWriteFileBytes, WritesExactlyTheBytesOrNothing) {
    const fs::path folder = fs::temp_directory_path() / ("squarepic-write-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::uint8_t data[] = {1, 2, 3, 0, 255};
    const fs::path target = folder / "out.bin";
    EXPECT_EQ(writeFileBytes(Text::copyOf(target.string()), {data, sizeof data}), 1);
    EXPECT_EQ(fileContent(target), FileBytes(std::begin(data), std::end(data)));
    EXPECT_EQ(writeFileBytes(Text(), {data, sizeof data}), 0);
    fs::remove_all(folder);
}

}  // namespace
