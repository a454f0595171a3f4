#include "platform/win32/wide_text.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <climits>

namespace {

constexpr UINT gbkCodePage = 936;

std::wstring toWide(UINT codePage, DWORD flags, std::string_view text) {
    if (text.empty() || text.size() > INT_MAX) return {};
    const int length = static_cast<int>(text.size());
    const int count = ::MultiByteToWideChar(codePage, flags, text.data(), length, nullptr, 0);
    if (count <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(count), L'\0');
    ::MultiByteToWideChar(codePage, flags, text.data(), length, wide.data(), count);
    return wide;
}

std::string fromWide(UINT codePage, std::wstring_view wide, const char* replacement) {
    if (wide.empty() || wide.size() > INT_MAX) return {};
    const int length = static_cast<int>(wide.size());
    const int count = ::WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, replacement, nullptr);
    if (count <= 0) return {};
    std::string text(static_cast<std::size_t>(count), '\0');
    ::WideCharToMultiByte(codePage, 0, wide.data(), length, text.data(), count, replacement, nullptr);
    return text;
}

}  // namespace

std::wstring wideFromGbk(std::string_view gbk) { return toWide(gbkCodePage, 0, gbk); }

std::string gbkFromWide(std::wstring_view wide) { return fromWide(gbkCodePage, wide, "?"); }

std::wstring wideFromUtf8(std::string_view utf8) { return toWide(CP_UTF8, MB_ERR_INVALID_CHARS, utf8); }

// UTF-8 takes no replacement character: every UTF-16 text has its spelling.
std::string utf8FromWide(std::wstring_view wide) { return fromWide(CP_UTF8, wide, nullptr); }
