#include "app/fatal.h"

#include <cstdio>
#include <cstdlib>

#include "app/gbk_messages.h"
#include "app/lifecycle.h"
#include "app/text.h"
#include "convert/texts.h"

namespace {

FatalBoxPresenter& presenter() {
    static FatalBoxPresenter instance;
    return instance;
}

void writeToStandardError(const Text& boxText) {
    std::fwrite(boxText.c_str(), 1, boxText.view().size(), stderr);
    std::fflush(stderr);
}

}  // namespace

void setFatalBoxPresenter(FatalBoxPresenter newPresenter) { presenter() = std::move(newPresenter); }

Text fatalBoxText(std::string_view message) {
    if (message.empty()) return joinTexts({gbk::runtimeErrorHeading});
    return joinTexts({gbk::runtimeErrorHeading, gbk::errorMessageLabel, message, "\r\n"});
}

void fatalStop(std::string_view message) {
    // Building the box text obtains a block; should that fail too, the
    // second stop ends the process at once instead of recursing.
    static bool stopping = false;
    if (stopping) std::_Exit(-1);
    stopping = true;
    {
        const Text boxText = fatalBoxText(message);
        if (presenter()) {
            presenter()(boxText);
        } else {
            writeToStandardError(boxText);
        }
    }
    clearExitRoutines();
    endProgram(-1);
    std::_Exit(-1);
}
