#pragma once

#include "app/bytes.h"
#include "imaging/raster.h"

// The one file format the program writes: an uncompressed 24-bit bitmap
// file image of raster, rows bottom first, each padded with zeros to a
// multiple of 4 bytes. Empty when the image cannot be held in one block.
Bytes encodeBitmapFile(const Raster& raster);
