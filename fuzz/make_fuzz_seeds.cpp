// Writes the seed corpus of the fuzz targets: small, valid files of every
// kind and variant, made by the same builders as the tests' fixtures.
// usage: make_fuzz_seeds FOLDER

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/bmp_icon_files.h"
#include "support/gif_pcx_files.h"
#include "support/jpeg_png_files.h"

namespace {

namespace fs = std::filesystem;
using Bytes8 = std::vector<std::uint8_t>;

struct Seed {
    const char* target;
    std::string name;
    Bytes8 bytes;
};

std::vector<Seed> bmpSeeds() {
    std::vector<Seed> seeds;
    for (std::uint16_t bits : {1, 4, 8, 24, 32}) {
        bmp_icon_files::BmpDescription d;
        d.width = 7;
        d.height = bits == 24 ? -5 : 5;
        d.bitCount = bits;
        if (bits <= 8) {
            d.palette = bmp_icon_files::distinctPalette(std::size_t(1) << bits);
            d.pixels = bmp_icon_files::indexPattern(7, 5, 1u << bits);
        } else {
            d.pixels = bmp_icon_files::colourPattern(7, 5);
        }
        seeds.push_back({"bmp", "bits" + std::to_string(bits), bmp_icon_files::writeBmp(d)});
    }
    return seeds;
}

bmp_icon_files::IconEntryDescription entryOf(bmp_icon_files::IconImageDescription image) {
    bmp_icon_files::IconEntryDescription entry;
    entry.image = std::move(image);
    return entry;
}

std::vector<Seed> iconSeeds() {
    std::vector<Seed> seeds;
    for (std::uint16_t bits : {1, 4, 8, 24, 32}) {
        bmp_icon_files::IconFileDescription file;
        file.type = bits == 8 ? 2 : 1;
        file.entries.push_back(entryOf(bmp_icon_files::patternedIconImage(16, 16, bits)));
        file.entries.push_back(entryOf(bmp_icon_files::patternedIconImage(32, 32, bits)));
        seeds.push_back({"icon", "bits" + std::to_string(bits), bmp_icon_files::writeIconFile(file)});
    }
    jpeg_png_files::PngDescription png;
    png.width = png.height = 16;
    bmp_icon_files::IconFileDescription withPng;
    bmp_icon_files::IconImageDescription image;
    image.png = jpeg_png_files::writePng(png);
    withPng.entries.push_back(entryOf(image));
    seeds.push_back({"icon", "png-entry", bmp_icon_files::writeIconFile(withPng)});
    return seeds;
}

std::vector<Seed> gifSeeds() {
    using namespace gif_pcx_files;
    std::vector<Seed> seeds;
    const std::vector<Rgb> table = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    for (bool interlaced : {false, true}) {
        GifImage image;
        image.width = 13;
        image.height = 11;
        image.indices = noiseIndices(13 * 11, 4, interlaced ? 2 : 1);
        image.interlaced = interlaced;
        if (interlaced) image.localTable = table;
        GifWriter writer(16, 12, table);
        writer.application().comment("seed").graphicControl(5, 1).image(image).trailer();
        seeds.push_back({"gif", interlaced ? "interlaced" : "plain", writer.bytes()});
    }
    GifImage big;
    big.width = big.height = 96;
    big.indices = noiseIndices(96 * 96, 256, 3);
    std::vector<Rgb> grey(256);
    for (int i = 0; i < 256; ++i) grey[i] = {std::uint8_t(i), std::uint8_t(i), std::uint8_t(i)};
    seeds.push_back({"gif", "full-table", GifWriter(96, 96, grey).image(big).trailer().bytes()});
    return seeds;
}

std::vector<Seed> pcxSeeds() {
    using namespace gif_pcx_files;
    std::vector<Seed> seeds;
    PcxFile eight;
    eight.xMax = 8;
    eight.yMax = 5;
    eight.bytesPerLine = 10;
    for (int y = 0; y < 6; ++y) eight.scanLines.push_back(noiseIndices(10, 256, y));
    eight.palette.assign(256, {10, 20, 30});
    seeds.push_back({"pcx", "eight", pcxFile(eight)});
    PcxFile one;
    one.version = 3;
    one.bitsPerPixel = 1;
    one.xMax = 19;
    one.yMax = 3;
    one.bytesPerLine = 4;
    for (int y = 0; y < 4; ++y) one.scanLines.push_back(noiseIndices(4, 256, 10 + y));
    seeds.push_back({"pcx", "one", pcxFile(one)});
    return seeds;
}

std::vector<Seed> jpegSeeds() {
    using namespace jpeg_png_files;
    std::vector<Seed> seeds;
    int n = 0;
    for (JpegColours colours : {JpegColours::Ycc, JpegColours::Grey, JpegColours::Cmyk, JpegColours::Ycck}) {
        for (bool progressive : {false, true}) {
            JpegDescription d;
            d.width = 19;
            d.height = 13;
            d.colours = colours;
            d.progressive = progressive;
            seeds.push_back({"jpeg", "jpeg" + std::to_string(n++), writeJpeg(d)});
        }
    }
    return seeds;
}

std::vector<Seed> pngSeeds() {
    using namespace jpeg_png_files;
    std::vector<Seed> seeds;
    int n = 0;
    for (PngColours colours : {PngColours::Grey, PngColours::GreyAlpha, PngColours::Rgb, PngColours::Rgba}) {
        PngDescription d;
        d.width = 11;
        d.height = 7;
        d.colours = colours;
        d.interlaced = n % 2 == 1;
        d.samples.assign(std::size_t(11) * 7 * pngChannels(colours), 0);
        for (std::size_t i = 0; i < d.samples.size(); ++i) d.samples[i] = static_cast<std::uint16_t>(i * 37 % 256);
        seeds.push_back({"png", "png" + std::to_string(n++), writePng(d)});
    }
    return seeds;
}

void write(const fs::path& path, const Bytes8& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: make_fuzz_seeds FOLDER\n", stderr);
        return 2;
    }
    const fs::path folder = argv[1];
    std::vector<Seed> seeds;
    for (auto make : {bmpSeeds, iconSeeds, gifSeeds, pcxSeeds, jpegSeeds, pngSeeds}) {
        for (Seed& seed : make()) seeds.push_back(std::move(seed));
    }
    for (const Seed& seed : seeds) {
        // Each seed serves its decoder's target and the target that loads any
        // bytes; GIF seeds also serve the animation's frame reader.
        std::vector<std::string> targets = {seed.target, "load"};
        if (targets.front() == "gif") targets.push_back("gif_frames");
        for (const std::string& target : targets) {
            fs::create_directories(folder / target);
            write(folder / target / (std::string(seed.target) + "-" + seed.name), seed.bytes);
        }
    }
    std::printf("%zu seeds written\n", seeds.size());
    return 0;
}
