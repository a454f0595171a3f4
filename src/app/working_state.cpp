#include "app/working_state.h"

#include <utility>

namespace {

Text currentSourcePath;
Bytes currentOutputImage;

}  // namespace

const Text& sourcePath() { return currentSourcePath; }
const Bytes& outputImage() { return currentOutputImage; }

// The old value moves out into a local and is released when it leaves
// scope, after the new value has been stored.
void replaceSourcePath(Text path) {
    Text old = std::exchange(currentSourcePath, std::move(path));
}

void replaceOutputImage(Bytes image) {
    Bytes old = std::exchange(currentOutputImage, std::move(image));
}

void releaseWorkingState() {
    currentSourcePath = Text();
    currentOutputImage = Bytes();
}
