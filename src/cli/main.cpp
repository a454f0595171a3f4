// squarepic-cli: the picture engine on the command line.

#include <cstdio>
#include <cstring>

namespace {

constexpr char usage[] =
    "usage: squarepic-cli --help\n"
    "\n"
    "Makes square, resized copies of pictures as 24-bit bitmap files.\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(usage, stdout);
        return 0;
    }
    std::fputs(usage, stderr);
    return 2;
}
