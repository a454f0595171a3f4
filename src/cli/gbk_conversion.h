#pragma once

#include <string>
#include <string_view>

// The command line speaks the terminal's UTF-8; the core's texts are GBK.
// A character that the other side cannot hold becomes '?'.
std::string utf8ToGbk(std::string_view utf8);
std::string gbkToUtf8(std::string_view gbk);
