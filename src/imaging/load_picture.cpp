#include "imaging/decoders/decoders.h"
#include "imaging/picture.h"
#include "platform/files.h"

namespace {

// Detection looks at this many bytes; shorter data is no picture.
constexpr std::size_t signatureLength = 8;

std::optional<Picture> decodeAs(PictureKind kind, ByteView data) {
    switch (kind) {
    case PictureKind::Jpeg: return decodeJpeg(data);
    case PictureKind::Bmp: return decodeBmp(data);
    case PictureKind::Png: return decodePng(data);
    case PictureKind::Icon:
    case PictureKind::Cursor: return decodeIconFile(data);
    case PictureKind::Gif: return decodeGif(data);
    case PictureKind::Pcx8:
    case PictureKind::Pcx1: return decodePcx(data);
    case PictureKind::None: break;
    }
    return std::nullopt;
}

}  // namespace

std::unique_ptr<Picture> decodePicture(ByteView bytes) {
    if (bytes.size < signatureLength) return nullptr;
    const PictureKind kind = detectPictureKind({bytes.data, signatureLength});
    std::optional<Picture> picture = decodeAs(kind, bytes);
    if (!picture) return nullptr;
    return std::make_unique<Picture>(std::move(*picture));
}

PictureHandle loadPicture(ByteView bytes) { return registerPicture(decodePicture(bytes)); }

// The file is opened twice: once for its first bytes, then again to decode
// what it holds at that moment.
PictureHandle loadPicture(const Text& path) {
    if (path.empty()) return 0;
    const std::optional<Bytes> start = readFileStart(path.c_str(), signatureLength);
    if (!start || start->size() < signatureLength) return 0;
    const PictureKind kind = detectPictureKind(start->view());
    if (kind == PictureKind::None) return 0;
    const std::optional<Bytes> whole = readWholeFile(path.c_str());
    if (!whole || whole->size() < signatureLength) return 0;
    std::optional<Picture> picture = decodeAs(kind, whole->view());
    if (!picture) return 0;
    return registerPicture(std::make_unique<Picture>(std::move(*picture)));
}
