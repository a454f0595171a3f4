#include <cstring>
#include <limits>

#include "app/bytes.h"
#include "app/text.h"

Text Text::copyOf(std::string_view gbk) {
    if (gbk.empty()) return Text();
    // A text too long for a block asks for the impossible size -1, which
    // takes the fatal path like any other exhaustion.
    const bool fits = gbk.size() < static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());
    auto* block = static_cast<char*>(obtainBlock(fits ? static_cast<std::int32_t>(gbk.size() + 1) : -1));
    std::memcpy(block, gbk.data(), gbk.size());
    block[gbk.size()] = '\0';
    return adopt(block);
}

Bytes Bytes::ofSize(std::int32_t size) {
    Bytes bytes;
    if (size <= 0) return bytes;
    bytes.block_ = static_cast<std::uint8_t*>(obtainBlock(size));
    bytes.size_ = static_cast<std::size_t>(size);
    return bytes;
}

Bytes Bytes::tryOfSize(std::size_t size) {
    Bytes bytes;
    if (size == 0 || size > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) return bytes;
    bytes.block_ = static_cast<std::uint8_t*>(tryObtainBlock(static_cast<std::int32_t>(size)));
    if (bytes.block_ != nullptr) bytes.size_ = size;
    return bytes;
}

Bytes Bytes::copyOf(ByteView view) {
    if (view.size > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) return Bytes();
    Bytes bytes = ofSize(static_cast<std::int32_t>(view.size));
    if (!bytes.empty()) std::memcpy(bytes.block_, view.data, view.size);
    return bytes;
}
