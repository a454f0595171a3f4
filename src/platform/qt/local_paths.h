#pragma once

#include <QString>
#include <string>
#include <string_view>

// File names as the core carries them: the bytes the file system uses for
// the name (UTF-8 on a usual Linux desktop), never converted to GBK.

std::string corePathOf(const QString& path);
QString qtPathOf(std::string_view corePath);
