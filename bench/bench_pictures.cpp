#include "bench/bench_pictures.h"

#include "support/bmp_icon_files.h"
#include "support/gif_pcx_files.h"
#include "support/jpeg_png_files.h"

namespace bench_pictures {

namespace {

// A gradient with a faint texture, 0..255 in each channel.
std::uint8_t sample(std::int32_t x, std::int32_t y, int channel) {
    const int texture = ((x * 7 + y * 13) ^ (x * y)) & 15;
    switch (channel) {
    case 0: return static_cast<std::uint8_t>((x * 255 / 6000 + texture) & 0xFF);
    case 1: return static_cast<std::uint8_t>((y * 255 / 4000 + texture) & 0xFF);
    case 2: return static_cast<std::uint8_t>(((x + y) / 40 + texture) & 0xFF);
    default: return static_cast<std::uint8_t>(255 - ((x / 50 + y / 50) & 63));
    }
}

std::vector<std::uint32_t> colourPixels(std::int32_t width, std::int32_t height) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            pixels[static_cast<std::size_t>(y) * width + x] =
                0xFF000000u | sample(x, y, 0) << 16 | sample(x, y, 1) << 8 | sample(x, y, 2);
        }
    }
    return pixels;
}

std::vector<std::uint8_t> indexPixels(std::int32_t width, std::int32_t height) {
    std::vector<std::uint8_t> indexes(static_cast<std::size_t>(width) * height);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            indexes[static_cast<std::size_t>(y) * width + x] = static_cast<std::uint8_t>((x / 8 + y / 8) & 0xFF);
        }
    }
    return indexes;
}

}  // namespace

FileBytes jpeg(std::int32_t width, std::int32_t height, int quality) {
    jpeg_png_files::JpegDescription description;
    description.width = width;
    description.height = height;
    description.quality = quality;
    description.samples.resize(static_cast<std::size_t>(width) * height * 3);
    std::uint8_t* p = description.samples.data();
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) *p++ = sample(x, y, c);
        }
    }
    return jpeg_png_files::writeJpeg(description);
}

FileBytes png(std::int32_t width, std::int32_t height) {
    jpeg_png_files::PngDescription description;
    description.width = static_cast<std::uint32_t>(width);
    description.height = static_cast<std::uint32_t>(height);
    description.colours = jpeg_png_files::PngColours::Rgba;
    description.samples.resize(static_cast<std::size_t>(width) * height * 4);
    std::uint16_t* p = description.samples.data();
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            for (int c = 0; c < 4; ++c) *p++ = sample(x, y, c);
        }
    }
    return jpeg_png_files::writePng(description);
}

FileBytes gif(std::int32_t width, std::int32_t height) {
    std::vector<gif_pcx_files::Rgb> table(256);
    for (int i = 0; i < 256; ++i) table[i] = {std::uint8_t(i), std::uint8_t(255 - i), std::uint8_t(i / 2)};
    gif_pcx_files::GifImage image;
    image.width = static_cast<std::uint16_t>(width);
    image.height = static_cast<std::uint16_t>(height);
    image.indices = indexPixels(width, height);
    return gif_pcx_files::GifWriter(image.width, image.height, table).image(image).trailer().bytes();
}

FileBytes bmp24(std::int32_t width, std::int32_t height) {
    bmp_icon_files::BmpDescription description;
    description.width = width;
    description.height = height;
    description.pixels = colourPixels(width, height);
    return bmp_icon_files::writeBmp(description);
}

FileBytes bmp8(std::int32_t width, std::int32_t height) {
    bmp_icon_files::BmpDescription description;
    description.width = width;
    description.height = height;
    description.bitCount = 8;
    description.palette = bmp_icon_files::distinctPalette(256);
    const std::vector<std::uint8_t> indexes = indexPixels(width, height);
    description.pixels.assign(indexes.begin(), indexes.end());
    return bmp_icon_files::writeBmp(description);
}

FileBytes pcx8(std::int32_t width, std::int32_t height) {
    gif_pcx_files::PcxFile file;
    file.xMax = static_cast<std::int16_t>(width - 1);
    file.yMax = static_cast<std::int16_t>(height - 1);
    file.bytesPerLine = static_cast<std::uint16_t>(width + (width & 1));
    const std::vector<std::uint8_t> indexes = indexPixels(width, height);
    for (std::int32_t y = 0; y < height; ++y) {
        const auto row = indexes.begin() + static_cast<std::ptrdiff_t>(y) * width;
        gif_pcx_files::ByteVector line(row, row + width);
        line.resize(file.bytesPerLine, 0);
        file.scanLines.push_back(std::move(line));
    }
    file.palette.assign(256, {40, 80, 120});
    return gif_pcx_files::pcxFile(file);
}

FileBytes icon(std::int32_t side) {
    bmp_icon_files::IconEntryDescription entry;
    entry.image.width = entry.image.height = side;
    entry.image.pixels = colourPixels(side, side);
    bmp_icon_files::IconFileDescription file;
    file.entries.push_back(entry);
    return bmp_icon_files::writeIconFile(file);
}

}  // namespace bench_pictures
