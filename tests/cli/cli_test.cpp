// The command-line tool as a user runs it: real files in, real files out.

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/bmp_icon_files.h"
#include "support/picture_reading.h"
#include "support/gif_pcx_files.h"
#include "support/jpeg_png_files.h"

namespace {

using picture_reading::bitmapPixel;
using picture_reading::field32;

namespace fs = std::filesystem;
using FileBytes = std::vector<std::uint8_t>;

class SquarepicCli : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("squarepic-cli-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    std::string write(const std::string& name, const FileBytes& bytes) const {
        std::ofstream(path(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return path(name);
    }

    // Runs the tool with its arguments quoted; its exit status.
    int run(const std::vector<std::string>& arguments) const {
        std::string command = "'" SQUAREPIC_CLI "'";
        for (const std::string& argument : arguments) command += " '" + argument + "'";
        command += " >" + path("stdout.txt") + " 2>" + path("stderr.txt");
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    FileBytes read(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    fs::path folder_;
};

TEST_F(SquarepicCli, DecodesEveryFormatAtItsOwnSize) {
    bmp_icon_files::BmpDescription bmp;
    bmp.width = 3;
    bmp.height = 2;
    bmp.pixels = {0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF, 0x000000};

    gif_pcx_files::GifImage image;
    image.width = 2;
    image.height = 1;
    image.indices = {1, 2};
    const FileBytes gif = gif_pcx_files::GifWriter(3, 2, {{0, 0, 0}, {255, 0, 0}, {0, 0, 255}, {9, 9, 9}})
                              .image(image)
                              .trailer()
                              .bytes();

    gif_pcx_files::PcxFile pcx8;
    pcx8.xMax = 1;
    pcx8.bytesPerLine = 2;
    pcx8.scanLines = {{1, 0}};
    pcx8.palette.assign(256, {0, 0, 0});
    pcx8.palette[1] = {1, 2, 3};
    gif_pcx_files::PcxFile pcx1 = pcx8;
    pcx1.version = 3;
    pcx1.bitsPerPixel = 1;
    pcx1.scanLines = {{0b01000000, 0}};
    pcx1.palette.clear();

    bmp_icon_files::IconEntryDescription entry;
    entry.image.width = 2;
    entry.image.height = 1;
    entry.image.bitCount = 24;
    entry.image.pixels = {0x00FF00, 0x000000};
    entry.image.mask = {0, 1};  // the second pixel shows the white surface through
    bmp_icon_files::IconFileDescription icon;
    icon.entries.push_back(entry);

    jpeg_png_files::PngDescription png;
    png.width = 2;
    png.height = 1;
    png.samples = {10, 20, 30, 255, 10, 20, 30, 0};  // opaque, then fully transparent

    const struct {
        const char* name;
        FileBytes bytes;
        std::vector<std::uint32_t> expected;  // top row first
    } cases[] = {
        {"picture.bmp", bmp_icon_files::writeBmp(bmp), bmp.pixels},
        // The image at the top left of its screen; the rest of the screen black.
        {"picture.gif", gif, {0xFF0000, 0x0000FF, 0x000000, 0x000000, 0x000000, 0x000000}},
        // Transparency composited onto white.
        {"picture.png", jpeg_png_files::writePng(png), {0x0A141E, 0xFFFFFF}},
        {"picture.pcx", gif_pcx_files::pcxFile(pcx8), {0x010203, 0x000000}},
        // Two colours: 0 bits black, 1 bits white.
        {"two.pcx", gif_pcx_files::pcxFile(pcx1), {0x000000, 0xFFFFFF}},
        {"picture.ico", bmp_icon_files::writeIconFile(icon), {0x00FF00, 0xFFFFFF}},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(run({"decode", write(c.name, c.bytes), path("out.bmp")}), 0) << c.name;
        const FileBytes out = read("out.bmp");
        const std::int32_t width = field32(out.data(), 18);
        ASSERT_EQ(static_cast<std::size_t>(width * field32(out.data(), 22)), c.expected.size()) << c.name;
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            EXPECT_EQ(bitmapPixel(out.data(), static_cast<std::int32_t>(i % width), static_cast<std::int32_t>(i / width)),
                      c.expected[i])
                << c.name << " pixel " << i;
        }
    }
}

TEST_F(SquarepicCli, DecodesJpegAsLibjpegDoes) {
    jpeg_png_files::JpegDescription description;
    description.width = 33;
    description.height = 17;
    const FileBytes jpeg = jpeg_png_files::writeJpeg(description);
    const auto bare = jpeg_png_files::decodeJpegBare(jpeg_png_files::viewOf(jpeg));
    ASSERT_TRUE(bare.has_value());
    ASSERT_EQ(run({"decode", write("photo.jpg", jpeg), path("out.bmp")}), 0);
    const FileBytes out = read("out.bmp");
    for (std::int32_t y = 0; y < 17; ++y) {
        for (std::int32_t x = 0; x < 33; ++x) {
            const std::uint8_t* rgb = bare->samples.data() + 3 * (y * 33 + x);
            ASSERT_EQ(bitmapPixel(out.data(), x, y), static_cast<std::uint32_t>(rgb[0] << 16 | rgb[1] << 8 | rgb[2]));
        }
    }
}

TEST_F(SquarepicCli, ReadsTheSizeAsTheWindowReadsATypedSize) {
    bmp_icon_files::BmpDescription bmp;
    bmp.pixels = {0x336699};
    const std::string source = write("one.bmp", bmp_icon_files::writeBmp(bmp));
    for (const char* size : {"200", "\xEF\xBC\x92\xEF\xBC\x90\xEF\xBC\x90", "2e2", "200abc", " +200.9"}) {
        ASSERT_EQ(run({"square", source, size, path("square.bmp")}), 0) << size;
        const FileBytes out = read("square.bmp");
        EXPECT_EQ(field32(out.data(), 18), 200) << size;
        EXPECT_EQ(out.size(), 54u + 600u * 200u) << size;
        EXPECT_EQ(bitmapPixel(out.data(), 199, 199), 0x336699u);
    }
}

TEST_F(SquarepicCli, FailsWithAReasonAndKeepsTheOldFile) {
    bmp_icon_files::BmpDescription bmp;
    const std::string source = write("one.bmp", bmp_icon_files::writeBmp(bmp));
    const std::string words = write("words.txt", {'h', 'e', 'l', 'l', 'o', ' ', 'y', 'o', 'u'});
    write("keep.bmp", {'o', 'l', 'd'});
    EXPECT_NE(run({"square", words, "50", path("keep.bmp")}), 0);
    EXPECT_NE(run({"square", source, "-20", path("keep.bmp")}), 0);  // an empty square
    EXPECT_NE(run({"square", source, "50", path("no folder/out.bmp")}), 0);
    EXPECT_NE(run({"decode", words, path("keep.bmp")}), 0);
    EXPECT_EQ(read("keep.bmp"), (FileBytes{'o', 'l', 'd'}));
    const FileBytes reason = read("stderr.txt");
    EXPECT_FALSE(reason.empty());
    EXPECT_NE(run({"square", source}), 0);  // usage
    EXPECT_EQ(run({"--help"}), 0);
}

}  // namespace
