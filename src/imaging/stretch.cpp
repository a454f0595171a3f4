// Both stretches run as two separable passes. Along an axis stretched from
// S to D pixels, target pixel i covers the source interval [i*S/D, (i+1)*S/D).
// Measured in units of 1/D source pixel, every length is a whole number: a
// fully covered source pixel weighs D, the partly covered pixels at either
// end weigh the length covered, and the weights of a target pixel add up to
// S. The smoothing stretch is therefore exact: the sums are integers, and
// the one division at the end rounds to the nearest level. The nearest-pixel
// stretch gives the whole weight to the source pixel under the interval's
// centre.
//
// For each target row the covered source rows are summed first, byte by
// byte over the columns read (a plain, fast loop over each row, which is
// read where it lies when the source allows), then the row of sums is
// resampled horizontally. Each source row is read once when shrinking, and
// no copy of the source is made.

#include "imaging/stretch.h"

#include "imaging/display.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The source pixels that make one target pixel: first, then interior fully
// covered ones, then one more with lastWeight (when lastWeight is not 0).
struct Tap {
    std::int32_t first = 0;
    std::int32_t interior = 0;
    std::uint32_t firstWeight = 0;
    std::uint32_t lastWeight = 0;
};

struct AxisTaps {
    std::vector<Tap> taps;          // one a visible target index, in target order
    std::uint64_t fullWeight = 0;   // D: the weight of a fully covered source pixel
    std::uint64_t totalWeight = 0;  // S: the weights of one target pixel together
};

// The visible part of a target axis: target coordinates [begin, end).
// Mirrored axes count stretch indexes from the far end.
struct AxisSpan {
    std::int32_t begin = 0;
    std::int32_t end = 0;
    std::int64_t low = 0;       // target coordinate of the drawn area's near edge
    std::int32_t destSize = 0;  // D, positive
    bool mirrored = false;

    std::int32_t length() const { return end - begin; }
    std::int64_t indexAt(std::int32_t t) const {
        const std::int64_t k = t - low;
        return mirrored ? destSize - 1 - k : k;
    }
};

AxisSpan clipAxis(std::int32_t origin, std::int32_t size, std::int32_t targetSize) {
    AxisSpan span;
    span.mirrored = size < 0;
    span.destSize = span.mirrored ? -size : size;
    span.low = span.mirrored ? std::int64_t(origin) + size : origin;
    span.begin = static_cast<std::int32_t>(std::clamp<std::int64_t>(span.low, 0, targetSize));
    span.end = static_cast<std::int32_t>(std::clamp<std::int64_t>(span.low + span.destSize, 0, targetSize));
    return span;
}

Tap areaTap(std::int64_t index, std::int64_t source, std::int64_t dest) {
    const std::int64_t from = index * source;  // in units of 1/dest source pixel
    const std::int64_t to = from + source;
    const std::int64_t firstPixel = from / dest;
    const std::int64_t lastPixel = (to - 1) / dest;
    Tap tap;
    tap.first = static_cast<std::int32_t>(firstPixel);
    if (firstPixel == lastPixel) {
        tap.firstWeight = static_cast<std::uint32_t>(source);
        return tap;
    }
    tap.firstWeight = static_cast<std::uint32_t>((firstPixel + 1) * dest - from);
    tap.interior = static_cast<std::int32_t>(lastPixel - firstPixel - 1);
    tap.lastWeight = static_cast<std::uint32_t>(to - lastPixel * dest);
    return tap;
}

Tap nearestTap(std::int64_t index, std::int64_t source, std::int64_t dest) {
    Tap tap;
    tap.first = static_cast<std::int32_t>((2 * index + 1) * source / (2 * dest));
    tap.firstWeight = static_cast<std::uint32_t>(source);
    return tap;
}

AxisTaps tapAxis(const AxisSpan& span, std::int32_t sourceSize, StretchQuality quality) {
    AxisTaps axis;
    axis.fullWeight = static_cast<std::uint64_t>(span.destSize);
    axis.totalWeight = static_cast<std::uint64_t>(sourceSize);
    axis.taps.reserve(static_cast<std::size_t>(span.length()));
    for (std::int32_t t = span.begin; t < span.end; ++t) {
        const std::int64_t index = span.indexAt(t);
        axis.taps.push_back(quality == StretchQuality::Smooth ? areaTap(index, sourceSize, span.destSize)
                                                              : nearestTap(index, sourceSize, span.destSize));
    }
    return axis;
}

std::int32_t lastPixelOf(const Tap& tap) { return tap.first + tap.interior + (tap.lastWeight != 0 ? 1 : 0); }

// The source columns [from, to) that the taps read. Taps run up, or down
// when mirrored, so the two ends decide.
struct ColumnSpan {
    std::int32_t from = 0;
    std::int32_t to = 0;
};

ColumnSpan columnsRead(const AxisTaps& axis) {
    const Tap& a = axis.taps.front();
    const Tap& b = axis.taps.back();
    return {std::min(a.first, b.first), std::max(lastPixelOf(a), lastPixelOf(b)) + 1};
}

// The source rows, read in place where the source holds them so, else
// fetched into a buffer: the bytes of the columns read, bytesPerPixel apart.
class SourceRows {
public:
    // A source gives either every row in place or none.
    SourceRows(const RowSource& source, ColumnSpan span)
        : source_(source), span_(span), inPlace_(source.rowInPlace(0).bytes != nullptr) {
        bytesPerPixel_ = inPlace_ ? source.rowInPlace(0).bytesPerPixel : 4;
        if (!inPlace_) fetched_.resize(static_cast<std::size_t>(span.to - span.from));
    }

    int bytesPerPixel() const { return bytesPerPixel_; }
    std::size_t bytesPerRow() const { return static_cast<std::size_t>(span_.to - span_.from) * bytesPerPixel_; }

    const std::uint8_t* row(std::int32_t y) {
        if (inPlace_) return source_.rowInPlace(y).bytes + static_cast<std::size_t>(span_.from) * bytesPerPixel_;
        if (y != fetchedRow_) {
            source_.fetchRow(y, span_.from, span_.to - span_.from, fetched_.data());
            fetchedRow_ = y;
        }
        return reinterpret_cast<const std::uint8_t*>(fetched_.data());
    }

private:
    const RowSource& source_;
    ColumnSpan span_;
    bool inPlace_;
    int bytesPerPixel_ = 4;
    std::vector<std::uint32_t> fetched_;
    std::int32_t fetchedRow_ = -1;
};

template <typename Sum>
void setRow(Sum* sums, const std::uint8_t* row, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) sums[i] = row[i];
}

template <typename Sum>
void setWeightedRow(Sum* sums, const std::uint8_t* row, std::size_t count, Sum weight) {
    for (std::size_t i = 0; i < count; ++i) sums[i] = weight * row[i];
}

template <typename Sum>
void addRow(Sum* sums, const std::uint8_t* row, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) sums[i] += row[i];
}

template <typename Sum>
void addWeightedRow(Sum* sums, const std::uint8_t* row, std::size_t count, Sum weight) {
    for (std::size_t i = 0; i < count; ++i) sums[i] += weight * row[i];
}

// The weighted sums of one target row's source rows, for every byte of the
// columns read: the partly covered first and last rows by their weights,
// the fully covered rows between them added plainly and weighted once.
template <typename Sum>
class VerticalSums {
public:
    VerticalSums(std::size_t count, std::uint64_t fullWeight)
        : sums_(count), interior_(count), fullWeight_(static_cast<Sum>(fullWeight)) {}

    const Sum* sum(const Tap& tap, SourceRows& rows) {
        // Rows are read top to bottom, so a source may decode them as they come.
        const std::size_t count = sums_.size();
        setWeightedRow(sums_.data(), rows.row(tap.first), count, static_cast<Sum>(tap.firstWeight));
        if (tap.interior > 0) {
            setRow(interior_.data(), rows.row(tap.first + 1), count);
            for (std::int32_t k = 2; k <= tap.interior; ++k) addRow(interior_.data(), rows.row(tap.first + k), count);
            for (std::size_t i = 0; i < count; ++i) sums_[i] += fullWeight_ * interior_[i];
        }
        if (tap.lastWeight != 0) {
            addWeightedRow(sums_.data(), rows.row(tap.first + tap.interior + 1), count,
                           static_cast<Sum>(tap.lastWeight));
        }
        return sums_.data();
    }

private:
    std::vector<Sum> sums_;
    std::vector<Sum> interior_;
    Sum fullWeight_;
};

// One channel of one target pixel from a row of vertical sums.
template <typename Sum>
std::uint64_t horizontalSum(const Sum* sums, const Tap& tap, int step, std::uint64_t fullWeight) {
    const Sum* p = sums + static_cast<std::size_t>(tap.first) * step;
    std::uint64_t interior = 0;
    const Sum* q = p + step;
    for (std::int32_t k = 0; k < tap.interior; ++k, q += step) interior += *q;
    std::uint64_t sum = std::uint64_t(tap.firstWeight) * *p + fullWeight * interior;
    if (tap.lastWeight != 0) sum += std::uint64_t(tap.lastWeight) * *q;
    return sum;
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

// The level nearest to sum / total. A double holds every sum exactly
// (sums stay below 2^53), and the product rounds the same on every machine.
std::uint32_t level(std::uint64_t sum, double inverseTotal) {
    return static_cast<std::uint32_t>(static_cast<double>(sum) * inverseTotal + 0.5);
}

struct Placement {
    AxisSpan across;
    AxisSpan down;
    AxisTaps columns;
    AxisTaps rows;
};

template <typename Sum>
void stretchRows(const RowSource& source, Raster& target, Placement& place, RasterOp op, bool keepFourthByte) {
    const ColumnSpan span = columnsRead(place.columns);
    for (Tap& tap : place.columns.taps) tap.first -= span.from;
    SourceRows rows(source, span);
    const int step = rows.bytesPerPixel();
    VerticalSums<Sum> vertical(rows.bytesPerRow(), place.rows.fullWeight);
    const double inverseTotal =
        1.0 / (static_cast<double>(place.columns.totalWeight) * static_cast<double>(place.rows.totalWeight));
    const std::uint64_t fullWeight = place.columns.fullWeight;

    for (std::size_t j = 0; j < place.rows.taps.size(); ++j) {
        const Sum* sums = vertical.sum(place.rows.taps[j], rows);
        std::uint32_t* out = target.row(place.down.begin + static_cast<std::int32_t>(j)) + place.across.begin;
        for (std::size_t i = 0; i < place.columns.taps.size(); ++i) {
            const Tap& tap = place.columns.taps[i];
            const auto channel = [&](int c) {
                return level(horizontalSum(sums + c, tap, step, fullWeight), inverseTotal);
            };
            const std::uint32_t pixel = channel(0) | channel(1) << 8 | channel(2) << 16;
            if (keepFourthByte) {
                out[i] = pixel | (step == 4 ? channel(3) << 24 : 0);
            } else {
                out[i] = combine(pixel, out[i], op) & 0x00FFFFFF;
            }
        }
    }
}

void stretchInto(const RowSource& source, Raster& target, std::int32_t x, std::int32_t y, std::int32_t width,
                 std::int32_t height, StretchQuality quality, RasterOp op, bool keepFourthByte) {
    if (width == 0 || height == 0 || source.width() <= 0 || source.height() <= 0) return;
    Placement place;
    place.across = clipAxis(x, width, target.width());
    place.down = clipAxis(y, height, target.height());
    if (place.across.length() <= 0 || place.down.length() <= 0) return;
    place.columns = tapAxis(place.across, source.width(), quality);
    place.rows = tapAxis(place.down, source.height(), quality);
    // A vertical sum is at most 255 times the source height; 32 bits hold it
    // for any picture up to 16 million rows, and are twice as fast.
    if (255 * place.rows.totalWeight <= UINT32_MAX) {
        stretchRows<std::uint32_t>(source, target, place, op, keepFourthByte);
    } else {
        stretchRows<std::uint64_t>(source, target, place, op, keepFourthByte);
    }
}

}  // namespace

void RasterRows::fetchRow(std::int32_t y, std::int32_t x, std::int32_t count, std::uint32_t* out) const {
    std::memcpy(out, raster_.row(y) + x, static_cast<std::size_t>(count) * sizeof(std::uint32_t));
}

PixelRow RasterRows::rowInPlace(std::int32_t y) const {
    return {reinterpret_cast<const std::uint8_t*>(raster_.row(y)), 4};
}

void stretchDraw(const RowSource& source, Raster& target, std::int32_t x, std::int32_t y, std::int32_t width,
                 std::int32_t height, StretchQuality quality, RasterOp op) {
    stretchInto(source, target, x, y, width, height, quality, op, false);
}

std::optional<Raster> stretchToSize(const RowSource& source, std::int32_t width, std::int32_t height,
                                    StretchQuality quality) {
    std::optional<Raster> result = Raster::create(width, height);
    if (result) stretchInto(source, *result, 0, 0, width, height, quality, RasterOp::Copy, true);
    return result;
}

StretchQuality stretchQuality() {
    return displayBitsPerPixel() > 16 ? StretchQuality::Smooth : StretchQuality::Nearest;
}
