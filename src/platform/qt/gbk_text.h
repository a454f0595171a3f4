#pragma once

#include <QString>
#include <string>
#include <string_view>

// The core's user-interface texts are GBK; Qt speaks UTF-16. Every text
// crosses between them here, and only texts do: file names never go
// through GBK (see local_paths.h).

QString fromGbk(std::string_view gbk);
// A character that GBK cannot hold becomes '?'.
std::string toGbk(const QString& text);
