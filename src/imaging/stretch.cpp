// Both stretches run as two separable passes over fixed-point weights
// computed once per target column and row. A target pixel i of an axis
// stretched from S to D pixels covers the source interval [i*S/D, (i+1)*S/D);
// the smoothing stretch weights each source pixel by the length of its part
// of that interval, the nearest-pixel stretch takes the one source pixel
// under the interval's centre. Rows are fetched one at a time from the
// source and resampled horizontally; the vertical pass accumulates them.

#include "imaging/stretch.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Horizontal weights of an axis sum to 2^22: the sums of 8-bit channels then
// fit 32 bits. The horizontal results keep 8 fractional bits; the vertical
// pass, whose sums are 64-bit, rounds once at the end.
constexpr int weightBits = 22;
constexpr std::uint32_t weightOne = 1u << weightBits;
constexpr int fractionBits = 8;

int (*displayDepthQuery)() = nullptr;

// The source span and weights of each visible target index along one axis.
struct AxisWeights {
    std::vector<std::int32_t> first;   // first source index of each target index
    std::vector<std::int32_t> offset;  // where its weights start in weights; one more entry at the end
    std::vector<std::uint32_t> weights;

    std::int32_t count(std::size_t i) const { return offset[i + 1] - offset[i]; }
};

// The visible part of a target axis: target coordinates [begin, end) and
// the stretch index of begin. Mirrored axes count indexes from the far end.
struct AxisSpan {
    std::int32_t begin = 0;
    std::int32_t end = 0;
    std::int64_t destStart = 0;  // target coordinate of stretch index 0's near edge
    std::int32_t destSize = 0;   // D, positive
    bool mirrored = false;

    std::int32_t length() const { return end - begin; }
    // The stretch index drawn at target coordinate t.
    std::int64_t indexAt(std::int32_t t) const {
        const std::int64_t k = t - destStart;
        return mirrored ? destSize - 1 - k : k;
    }
};

AxisSpan clipAxis(std::int32_t origin, std::int32_t size, std::int32_t targetSize) {
    AxisSpan span;
    span.mirrored = size < 0;
    span.destSize = span.mirrored ? -size : size;
    const std::int64_t low = span.mirrored ? std::int64_t(origin) + size : origin;
    const std::int64_t high = low + span.destSize;
    span.destStart = low;
    span.begin = static_cast<std::int32_t>(std::clamp<std::int64_t>(low, 0, targetSize));
    span.end = static_cast<std::int32_t>(std::clamp<std::int64_t>(high, 0, targetSize));
    return span;
}

// Smoothing: the covered lengths, turned into weights by rounding their
// running sum, so the weights of a target index add up to weightOne exactly.
void appendAreaWeights(std::int64_t index, std::int64_t source, std::int64_t dest, AxisWeights& axis) {
    const std::int64_t from = index * source;  // in units of 1/dest source pixels
    const std::int64_t to = from + source;
    const std::int64_t firstPixel = from / dest;
    const std::int64_t lastPixel = (to - 1) / dest;
    axis.first.push_back(static_cast<std::int32_t>(firstPixel));
    std::int64_t covered = 0;
    std::uint64_t previous = 0;
    for (std::int64_t x = firstPixel; x <= lastPixel; ++x) {
        covered += std::min(to, (x + 1) * dest) - std::max(from, x * dest);
        const std::uint64_t running =
            (static_cast<std::uint64_t>(covered) * weightOne + static_cast<std::uint64_t>(source) / 2) /
            static_cast<std::uint64_t>(source);
        axis.weights.push_back(static_cast<std::uint32_t>(running - previous));
        previous = running;
    }
}

void appendNearestWeight(std::int64_t index, std::int64_t source, std::int64_t dest, AxisWeights& axis) {
    axis.first.push_back(static_cast<std::int32_t>((2 * index + 1) * source / (2 * dest)));
    axis.weights.push_back(weightOne);
}

AxisWeights weighAxis(const AxisSpan& span, std::int32_t sourceSize, StretchQuality quality) {
    AxisWeights axis;
    axis.first.reserve(static_cast<std::size_t>(span.length()));
    axis.offset.reserve(static_cast<std::size_t>(span.length()) + 1);
    for (std::int32_t t = span.begin; t < span.end; ++t) {
        axis.offset.push_back(static_cast<std::int32_t>(axis.weights.size()));
        if (quality == StretchQuality::Smooth) {
            appendAreaWeights(span.indexAt(t), sourceSize, span.destSize, axis);
        } else {
            appendNearestWeight(span.indexAt(t), sourceSize, span.destSize, axis);
        }
    }
    axis.offset.push_back(static_cast<std::int32_t>(axis.weights.size()));
    return axis;
}

// One source row resampled to the visible target columns: four channels a
// column, each with fractionBits fractional bits.
void resampleRow(const std::uint32_t* source, const AxisWeights& columns, std::uint32_t* out) {
    constexpr std::uint32_t half = 1u << (weightBits - fractionBits - 1);
    const std::size_t count = columns.first.size();
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t* pixel = source + columns.first[i];
        const std::uint32_t* weight = columns.weights.data() + columns.offset[i];
        const std::int32_t n = columns.count(i);
        std::uint32_t b = half, g = half, r = half, a = half;
        for (std::int32_t k = 0; k < n; ++k) {
            const std::uint32_t p = pixel[k];
            const std::uint32_t w = weight[k];
            b += (p & 0xFF) * w;
            g += ((p >> 8) & 0xFF) * w;
            r += ((p >> 16) & 0xFF) * w;
            a += (p >> 24) * w;
        }
        constexpr int shift = weightBits - fractionBits;
        out[4 * i + 0] = b >> shift;
        out[4 * i + 1] = g >> shift;
        out[4 * i + 2] = r >> shift;
        out[4 * i + 3] = a >> shift;
    }
}

std::uint32_t combine(std::uint32_t source, std::uint32_t target, RasterOp op) {
    switch (op) {
    case RasterOp::InvertedCopy: return ~source;
    case RasterOp::Xor: return source ^ target;
    case RasterOp::Or: return source | target;
    case RasterOp::And: return source & target;
    case RasterOp::Copy: break;
    }
    return source;
}

// Keeps the last two resampled source rows, which neighbouring target rows share.
class ResampledRows {
public:
    ResampledRows(const RowSource& source, const AxisWeights& columns)
        : source_(source), columns_(columns), sourceRow_(static_cast<std::size_t>(source.width())) {
        for (auto& slot : slots_) slot.values.resize(4 * columns.first.size());
    }

    const std::uint32_t* row(std::int32_t y) {
        for (auto& slot : slots_) {
            if (slot.y == y) return slot.values.data();
        }
        Slot& slot = slots_[next_];
        next_ ^= 1;
        source_.fetchRow(y, sourceRow_.data());
        resampleRow(sourceRow_.data(), columns_, slot.values.data());
        slot.y = y;
        return slot.values.data();
    }

private:
    struct Slot {
        std::int32_t y = -1;
        std::vector<std::uint32_t> values;
    };
    const RowSource& source_;
    const AxisWeights& columns_;
    std::vector<std::uint32_t> sourceRow_;
    Slot slots_[2];
    int next_ = 0;
};

void stretchInto(const RowSource& source, Raster& target, std::int32_t x, std::int32_t y, std::int32_t width,
                 std::int32_t height, StretchQuality quality, RasterOp op, std::uint32_t keptBits) {
    if (width == 0 || height == 0 || source.width() <= 0 || source.height() <= 0) return;
    const AxisSpan across = clipAxis(x, width, target.width());
    const AxisSpan down = clipAxis(y, height, target.height());
    if (across.length() <= 0 || down.length() <= 0) return;

    const AxisWeights columns = weighAxis(across, source.width(), quality);
    const AxisWeights rows = weighAxis(down, source.height(), quality);
    ResampledRows resampled(source, columns);
    std::vector<std::uint64_t> sums(4 * columns.first.size());
    constexpr int shift = weightBits + fractionBits;
    constexpr std::uint64_t half = std::uint64_t(1) << (shift - 1);

    for (std::size_t j = 0; j < rows.first.size(); ++j) {
        std::fill(sums.begin(), sums.end(), half);
        for (std::int32_t k = 0; k < rows.count(j); ++k) {
            const std::uint32_t* values = resampled.row(rows.first[j] + k);
            const std::uint64_t w = rows.weights[static_cast<std::size_t>(rows.offset[j] + k)];
            for (std::size_t c = 0; c < sums.size(); ++c) sums[c] += w * values[c];
        }
        std::uint32_t* out = target.row(down.begin + static_cast<std::int32_t>(j)) + across.begin;
        for (std::size_t i = 0; i < columns.first.size(); ++i) {
            const std::uint32_t pixel = static_cast<std::uint32_t>(sums[4 * i] >> shift) |
                                        static_cast<std::uint32_t>(sums[4 * i + 1] >> shift) << 8 |
                                        static_cast<std::uint32_t>(sums[4 * i + 2] >> shift) << 16 |
                                        static_cast<std::uint32_t>(sums[4 * i + 3] >> shift) << 24;
            out[i] = combine(pixel, out[i], op) & keptBits;
        }
    }
}

}  // namespace

void RasterRows::fetchRow(std::int32_t y, std::uint32_t* out) const {
    std::memcpy(out, raster_.row(y), static_cast<std::size_t>(raster_.width()) * sizeof(std::uint32_t));
}

void stretchDraw(const RowSource& source, Raster& target, std::int32_t x, std::int32_t y, std::int32_t width,
                 std::int32_t height, StretchQuality quality, RasterOp op) {
    stretchInto(source, target, x, y, width, height, quality, op, 0x00FFFFFF);
}

std::optional<Raster> stretchToSize(const RowSource& source, std::int32_t width, std::int32_t height,
                                    StretchQuality quality) {
    std::optional<Raster> result = Raster::create(width, height);
    if (result) stretchInto(source, *result, 0, 0, width, height, quality, RasterOp::Copy, 0xFFFFFFFF);
    return result;
}

StretchQuality stretchQuality() {
    const int depth = displayDepthQuery != nullptr ? displayDepthQuery() : 32;
    return depth > 16 ? StretchQuality::Smooth : StretchQuality::Nearest;
}

void setDisplayDepthQuery(int (*query)()) { displayDepthQuery = query; }
