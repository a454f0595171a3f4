// Feeds arbitrary bytes to the GIF decoder: it must neither crash, read
// outside the data, hang nor allocate beyond the picture limit.

#include <cstddef>
#include <cstdint>

#include "imaging/decoders/decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    decodeGif(ByteView{data, size});
    return 0;
}
