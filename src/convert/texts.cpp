#include "convert/texts.h"

#include <cstdio>
#include <cstring>

#include "app/blocks.h"

std::int32_t textLength(const char* text) {
    return text == nullptr ? 0 : static_cast<std::int32_t>(std::strlen(text));
}

Text intToText(std::int32_t value) {
    char digits[12];
    const int length = std::snprintf(digits, sizeof digits, "%d", static_cast<int>(value));
    return Text::copyOf(std::string_view(digits, static_cast<std::size_t>(length)));
}

Text joinTexts(std::initializer_list<std::string_view> parts) {
    std::int64_t total = 1;
    for (std::string_view part : parts) total += static_cast<std::int64_t>(part.size());
    // A joined text beyond a block's size asks for the impossible size -1,
    // which takes the fatal path like any other exhaustion.
    const bool fits = total <= INT32_MAX;
    auto* block = static_cast<char*>(obtainBlock(fits ? static_cast<std::int32_t>(total) : -1));
    char* end = block;
    for (std::string_view part : parts) {
        if (part.empty()) continue;
        std::memcpy(end, part.data(), part.size());
        end += part.size();
    }
    *end = '\0';
    return Text::adopt(block);
}
