#include "imaging/raster.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "imaging/limits.h"
#include "imaging/memory_budget.h"
#include "platform/memory.h"

std::optional<Raster> Raster::create(std::int32_t width, std::int32_t height) {
    if (width <= 0 || height <= 0) return std::nullopt;
    std::size_t count = 0;
    std::size_t bytes = 0;
    if (!multiplySizes(static_cast<std::size_t>(width), static_cast<std::size_t>(height), count) ||
        !multiplySizes(count, sizeof(std::uint32_t), bytes) || !memoryCanHold(bytes)) {
        return std::nullopt;
    }
    std::unique_ptr<std::uint32_t[]> pixels(new (std::nothrow) std::uint32_t[count]);
    if (!pixels) return std::nullopt;
    preferHugePages(pixels.get(), bytes);
    std::memset(pixels.get(), 0, bytes);
    return Raster(width, height, std::move(pixels));
}

void Raster::fill(std::uint32_t value) {
    std::fill_n(pixels_.get(), static_cast<std::size_t>(width_) * height_, value);
}

void Raster::copyTopLeftFrom(const Raster& source) {
    const std::int32_t columns = std::min(width_, source.width_);
    const std::int32_t rows = std::min(height_, source.height_);
    for (std::int32_t y = 0; y < rows; ++y) {
        std::memcpy(row(y), source.row(y), static_cast<std::size_t>(columns) * sizeof(std::uint32_t));
    }
}
