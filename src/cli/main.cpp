// squarepic-cli: the picture engine on the command line.

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "app/fatal.h"
#include "app/text.h"
#include "app/working_state.h"
#include "cli/gbk_conversion.h"
#include "convert/numbers.h"
#include "imaging/bitmap_file.h"
#include "imaging/picture.h"
#include "imaging/render_picture.h"
#include "imaging/resize.h"
#include "platform/files.h"

namespace {

constexpr char usage[] =
    "usage: squarepic-cli decode IN OUT.bmp\n"
    "       squarepic-cli square IN SIZE OUT\n"
    "       squarepic-cli --help\n"
    "\n"
    "Makes square, resized copies of pictures as 24-bit bitmap files. Pictures\n"
    "are read as JPEG, PNG, BMP, GIF, icon, cursor or PCX, recognised by their\n"
    "content, never by their name.\n"
    "\n"
    "decode   writes the picture IN at its own size, on white, as the bitmap\n"
    "         file OUT.bmp.\n"
    "square   stretches the picture IN to a square of SIZE x SIZE pixels and\n"
    "         writes it as the bitmap file OUT, whatever its name. SIZE is read\n"
    "         as the window reads a typed size: full-width digits count, the\n"
    "         number ends at the first character that does not fit, and it is\n"
    "         truncated to a whole number (so 200, \xEF\xBC\x92\xEF\xBC\x90\xEF\xBC\x90, 2e2 and 200abc all\n"
    "         mean 200).\n"
    "\n"
    "An existing OUT is replaced only once the new file is complete; if the\n"
    "write fails, the old file stays as it was.\n";

constexpr std::uint32_t white = 0xFFFFFF;
constexpr std::uint32_t black = 0x000000;

int fail(const char* reason, const char* subject) {
    std::fprintf(stderr, "squarepic-cli: %s: %s\n", subject, reason);
    return 1;
}

// The picture at its own size on white: two-colour pictures in black on
// white, transparency composited onto white.
std::optional<Raster> drawAtOwnSize(const Picture& picture) {
    std::optional<Raster> raster = Raster::create(picture.width, picture.height);
    if (!raster) return std::nullopt;
    raster->fill(pixelFromColour(white));
    Surface surface{*raster, black, white};
    renderPicture(picture, surface, 0, 0, ownSize, ownSize, RasterOp::Copy, white);
    return raster;
}

int decode(const char* in, const char* out) {
    const PictureHandle handle = loadPicture(Text::copyOf(in));
    if (handle == 0) return fail("not a picture this program can read", in);
    const std::optional<Raster> raster = drawAtOwnSize(*registeredPicture(handle));
    releasePicture(handle);
    if (!raster) return fail("too large to draw", in);
    const Bytes file = encodeBitmapFile(*raster);
    if (file.empty()) return fail("too large for a bitmap file", in);
    if (!replaceFileAtomically(out, file.view())) return fail("cannot be written", out);
    return 0;
}

int square(const char* in, const char* sizeArgument, const char* out) {
    const std::int32_t size = truncateToInt(textToNumber(utf8ToGbk(sizeArgument)));
    const bool drawn = resizeToSquare(Text::copyOf(in), size);
    if (outputImage().empty()) return fail("no square of this size can be made", sizeArgument);
    if (!drawn) return fail("not a picture this program can read", in);
    if (!replaceFileAtomically(out, outputImage().view())) return fail("cannot be written", out);
    return 0;
}

void showFatalOnStandardError(const Text& boxText) {
    std::fputs(gbkToUtf8(boxText.view()).c_str(), stderr);
}

}  // namespace

int main(int argc, char** argv) {
    setFatalBoxPresenter(showFatalOnStandardError);
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "decode") == 0) return decode(argv[2], argv[3]);
    if (argc == 5 && std::strcmp(argv[1], "square") == 0) return square(argv[2], argv[3], argv[4]);
    std::fputs(usage, stderr);
    return 2;
}
