#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/decoders/decoders.h"
#include "imaging/render_picture.h"
#include "imaging/streamed_jpeg.h"
#include "support/jpeg_png_files.h"

namespace {

using jpeg_png_files::JpegColours;

jpeg_png_files::FileBytes jpegOf(JpegColours colours, bool progressive) {
    jpeg_png_files::JpegDescription description;
    description.width = 83;
    description.height = 47;
    description.colours = colours;
    description.progressive = progressive;
    return jpeg_png_files::writeJpeg(description);
}

Raster drawnFromStream(const jpeg_png_files::FileBytes& file, std::int32_t edge, bool& wholeDecode) {
    Raster raster = *Raster::create(edge, edge);
    StreamedJpegRows rows(jpeg_png_files::viewOf(file));
    EXPECT_TRUE(rows.start());
    stretchDraw(rows, raster, 0, 0, edge, edge, StretchQuality::Smooth);
    wholeDecode = !rows.failed() && rows.finish();
    return raster;
}

Raster drawnFromPicture(const jpeg_png_files::FileBytes& file, std::int32_t edge) {
    Raster raster = *Raster::create(edge, edge);
    Surface surface{raster};
    renderPicture(*decodeJpeg(jpeg_png_files::viewOf(file)), surface, 0, 0, edge, edge, RasterOp::Copy, 0xFFFFFF);
    return raster;
}

bool samePixels(const Raster& a, const Raster& b) {
    for (std::int32_t y = 0; y < a.height(); ++y) {
        if (std::memcmp(a.row(y), b.row(y), sizeof(std::uint32_t) * static_cast<std::size_t>(a.width())) != 0) {
            return false;
        }
    }
    return true;
}

TEST(StreamedJpeg, DrawsThePixelsOfTheDecodedPictureInOnePass) {
    for (JpegColours colours : {JpegColours::Ycc, JpegColours::Grey, JpegColours::Cmyk}) {
        for (bool progressive : {false, true}) {
            const auto file = jpegOf(colours, progressive);
            for (std::int32_t edge : {20, 83, 120}) {
                bool wholeDecode = false;
                const Raster streamed = drawnFromStream(file, edge, wholeDecode);
                EXPECT_TRUE(wholeDecode) << edge;
                EXPECT_TRUE(samePixels(streamed, drawnFromPicture(file, edge))) << edge;
            }
        }
    }
}

TEST(StreamedJpeg, FailsWhenRowsAreAskedForAfterLaterOnes) {
    const auto file = jpegOf(JpegColours::Ycc, false);
    Raster raster = *Raster::create(10, 10);
    StreamedJpegRows rows(jpeg_png_files::viewOf(file));
    ASSERT_TRUE(rows.start());
    // Mirrored vertically, the drawing wants the bottom row first.
    stretchDraw(rows, raster, 0, 10, 10, -10, StretchQuality::Smooth);
    EXPECT_TRUE(rows.failed());
    EXPECT_FALSE(rows.finish());
}

}  // namespace
