// Any bytes through the PNG decoder.

#include <cstddef>
#include <cstdint>

#include "imaging/decoders/decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    decodePng(ByteView{data, size});
    return 0;
}
