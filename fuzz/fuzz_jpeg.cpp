// Any bytes through the JPEG decoder.

#include <cstddef>
#include <cstdint>

#include "imaging/decoders/decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    decodeJpeg(ByteView{data, size});
    return 0;
}
