// Writes the inputs of the peer comparison into a folder:
// photo.jpg (6000 x 4000, quality 90), alpha.png (4000 x 3000 RGBA),
// flat.gif (1000 x 1000) and screen.bmp (1920 x 1080, 24-bit).

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "bench/bench_pictures.h"

namespace {

void write(const std::filesystem::path& path, const bench_pictures::FileBytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: bench_inputs FOLDER\n", stderr);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    write(folder / "photo.jpg", bench_pictures::jpeg(6000, 4000));
    write(folder / "alpha.png", bench_pictures::png(4000, 3000));
    write(folder / "flat.gif", bench_pictures::gif(1000, 1000));
    write(folder / "screen.bmp", bench_pictures::bmp24(1920, 1080));
    return 0;
}
