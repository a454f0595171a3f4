// Prints the speed of the picture engine: each decoder of our own in MB of
// file a second, loading JPEG and PNG against a bare libjpeg / libpng
// decode of the same bytes, and the smoothing stretch of a 6000 x 4000
// raster. A benchmark, not a test: it prints figures and checks nothing.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/bare_decoders.h"
#include "bench/bench_pictures.h"
#include "imaging/decoders/decoders.h"
#include "imaging/stretch.h"
#include "support/bmp_icon_files.h"
#include "support/gif_pcx_files.h"
#include "support/jpeg_png_files.h"

namespace {

using Clock = std::chrono::steady_clock;

// The median of runs timings of work, in milliseconds.
double medianMilliseconds(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void reportDecoder(const char* name, const std::vector<std::uint8_t>& file,
                   std::optional<Picture> (*decode)(ByteView), int runs) {
    const ByteView view{file.data(), file.size()};
    bool decoded = true;
    const double ms = medianMilliseconds(runs, [&] { decoded = decode(view).has_value() && decoded; });
    std::printf("  %-34s %9.1f ms  %8.1f MB/s%s\n", name, ms, file.size() / 1e6 / (ms / 1e3),
                decoded ? "" : "  (FAILED TO DECODE)");
}

void reportPair(const char* name, const std::vector<std::uint8_t>& file, std::optional<Picture> (*decode)(ByteView),
                bool (*bare)(ByteView), int runs) {
    const ByteView view{file.data(), file.size()};
    const double ours = medianMilliseconds(runs, [&] { decode(view); });
    const double plain = medianMilliseconds(runs, [&] { bare(view); });
    std::printf("  %-34s %9.1f ms  bare %9.1f ms  ratio %.3f\n", name, ours, plain, ours / plain);
}

Raster gradientRaster(std::int32_t width, std::int32_t height) {
    Raster raster = *Raster::create(width, height);
    for (std::int32_t y = 0; y < height; ++y) {
        std::uint32_t* row = raster.row(y);
        for (std::int32_t x = 0; x < width; ++x) row[x] = pixelFromBgr(x * 7 & 0xFF, y * 3 & 0xFF, (x ^ y) & 0xFF);
    }
    return raster;
}

void reportStretch(const Raster& source, std::int32_t edge, int runs) {
    const RasterRows rows(source);
    const double ms = medianMilliseconds(runs, [&] {
        Raster target = *Raster::create(edge, edge);
        stretchDraw(rows, target, 0, 0, edge, edge, StretchQuality::Smooth);
    });
    std::printf("  %d x %d -> %d x %d (area average) %9.1f ms\n", source.width(), source.height(), edge, edge, ms);
}

// Writes the raster as raw red, green, blue bytes, for a peer to resample
// the very same pixels.
void writeRawRgb(const Raster& raster, const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return;
    std::vector<std::uint8_t> row(3 * static_cast<std::size_t>(raster.width()));
    for (std::int32_t y = 0; y < raster.height(); ++y) {
        for (std::int32_t x = 0; x < raster.width(); ++x) {
            const std::uint32_t p = raster.pixel(x, y);
            row[3 * x] = static_cast<std::uint8_t>(p >> 16);
            row[3 * x + 1] = static_cast<std::uint8_t>(p >> 8);
            row[3 * x + 2] = static_cast<std::uint8_t>(p);
        }
        std::fwrite(row.data(), 1, row.size(), file);
    }
    std::fclose(file);
}

}  // namespace

// usage: bench_engine [RAW_RGB_OUT]: with a path, the stretched raster is
// also written there.
int main(int argc, char** argv) {
    std::printf("own decoders (median of 5)\n");
    reportDecoder("BMP 24-bit 1920 x 1080", bench_pictures::bmp24(1920, 1080), decodeBmp, 5);
    reportDecoder("BMP 8-bit 1920 x 1080", bench_pictures::bmp8(1920, 1080), decodeBmp, 5);
    reportDecoder("GIF 1000 x 1000", bench_pictures::gif(1000, 1000), decodeGif, 5);
    reportDecoder("PCX 8-bit 1920 x 1080", bench_pictures::pcx8(1920, 1080), decodePcx, 5);
    reportDecoder("ICO 256 x 256 32-bit", bench_pictures::icon(256), decodeIconFile, 5);

    std::printf("loading against the bare library decode (median of 5)\n");
    reportPair("JPEG 6000 x 4000 q90", bench_pictures::jpeg(6000, 4000), decodeJpeg, bareJpegDecode, 5);
    reportPair("PNG 4000 x 3000 RGBA", bench_pictures::png(4000, 3000), decodePng, barePngDecode, 5);

    std::printf("stretch (median of 5)\n");
    const Raster source = gradientRaster(6000, 4000);
    reportStretch(source, 420, 5);
    reportStretch(source, 2000, 5);
    if (argc == 2) writeRawRgb(source, argv[1]);
    return 0;
}
