#include <unordered_map>

#include "imaging/picture.h"

namespace {

// The registered pictures by handle. Used from the user-interface thread only.
struct PictureTable {
    std::unordered_map<PictureHandle, std::unique_ptr<Picture>> pictures;
    PictureHandle lastHandle = 0;
};

PictureTable& pictureTable() {
    static PictureTable table;
    return table;
}

}  // namespace

PictureHandle registerPicture(std::unique_ptr<Picture> picture) {
    if (!picture) return 0;
    PictureTable& table = pictureTable();
    // Handles count up and skip 0 and any still in use after a wrap-around.
    do {
        ++table.lastHandle;
    } while (table.lastHandle == 0 || table.pictures.count(table.lastHandle) != 0);
    table.pictures.emplace(table.lastHandle, std::move(picture));
    return table.lastHandle;
}

bool isRegisteredPicture(PictureHandle handle) { return pictureTable().pictures.count(handle) != 0; }

void releasePicture(PictureHandle handle) { pictureTable().pictures.erase(handle); }

const Picture* registeredPicture(PictureHandle handle) {
    const auto& pictures = pictureTable().pictures;
    const auto found = pictures.find(handle);
    return found == pictures.end() ? nullptr : found->second.get();
}
