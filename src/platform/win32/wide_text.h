#pragma once

#include <string>
#include <string_view>

// Windows speaks UTF-16. The core's user-interface texts are GBK and cross
// through code page 936 itself, never the system's ANSI code page, so the
// window reads the same on every Windows; file names are UTF-8 and cross
// without loss.

std::wstring wideFromGbk(std::string_view gbk);
// A character that GBK cannot hold becomes '?'.
std::string gbkFromWide(std::wstring_view wide);

// Nothing (empty) for broken UTF-8.
std::wstring wideFromUtf8(std::string_view utf8);
std::string utf8FromWide(std::wstring_view wide);
