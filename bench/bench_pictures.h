#pragma once

#include <cstdint>
#include <vector>

// Pictures for the benchmarks, made in code: smooth gradients with some
// detail, so that the compressed formats compress as photographs do.
namespace bench_pictures {

using FileBytes = std::vector<std::uint8_t>;

FileBytes jpeg(std::int32_t width, std::int32_t height, int quality = 90);
FileBytes png(std::int32_t width, std::int32_t height);  // RGBA
FileBytes gif(std::int32_t width, std::int32_t height);
FileBytes bmp24(std::int32_t width, std::int32_t height);
FileBytes bmp8(std::int32_t width, std::int32_t height);
FileBytes pcx8(std::int32_t width, std::int32_t height);
FileBytes icon(std::int32_t side);  // one 32-bit entry

}  // namespace bench_pictures
