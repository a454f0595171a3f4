// Feeds arbitrary bytes to the bitmap file decoder.

#include <cstddef>
#include <cstdint>

#include "imaging/decoders/decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    decodeBmp(ByteView{data, size});
    return 0;
}
