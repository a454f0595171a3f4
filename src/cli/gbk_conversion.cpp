#include "cli/gbk_conversion.h"

#include <iconv.h>

#include <cerrno>

namespace {

// Owns an iconv conversion descriptor.
class Converter {
public:
    Converter(const char* to, const char* from) : descriptor_(iconv_open(to, from)) {}
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    ~Converter() {
        if (valid()) iconv_close(descriptor_);
    }
    bool valid() const { return descriptor_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return descriptor_; }

private:
    iconv_t descriptor_;
};

// The length of the character that starts with lead in the given encoding.
using CharacterLength = std::size_t (*)(unsigned char lead);

std::size_t utf8Length(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

std::size_t gbkLength(unsigned char lead) { return lead >= 0x80 ? 2 : 1; }

std::string convert(std::string_view text, const char* to, const char* from, CharacterLength lengthOf) {
    Converter converter(to, from);
    if (!converter.valid()) return std::string(text);
    std::string result;
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char buffer[256];
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t done = iconv(converter.get(), &in, &inLeft, &out, &outLeft);
        result.append(buffer, static_cast<std::size_t>(out - buffer));
        if (done != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
        // A character the target cannot hold, or a broken one: '?' instead.
        const std::size_t skip = std::min(inLeft, lengthOf(static_cast<unsigned char>(*in)));
        result.push_back('?');
        in += skip;
        inLeft -= skip;
    }
    return result;
}

}  // namespace

std::string utf8ToGbk(std::string_view utf8) { return convert(utf8, "GBK", "UTF-8", utf8Length); }

std::string gbkToUtf8(std::string_view gbk) { return convert(gbk, "UTF-8", "GBK", gbkLength); }
