#pragma once

#include "app/byte_view.h"

// The plainest decode each library offers, for comparison: libjpeg with its
// own memory source and default output, libpng's simplified reader, each
// into a fresh raster of the whole picture allocated as the program
// allocates its own. True when the picture decoded.
bool bareJpegDecode(ByteView data);
bool barePngDecode(ByteView data);
