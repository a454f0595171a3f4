#include "app/lifecycle.h"

#include <algorithm>
#include <cfenv>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/fatal.h"
#include "app/gbk_messages.h"
#include "app/working_state.h"
#include "platform/host.h"

namespace {

std::vector<ExitRoutine>& routines() {
    static std::vector<ExitRoutine> list;
    return list;
}

// The host of the running program, and whether drag and drop was started.
Host* runningHost = nullptr;
bool dragDropStarted = false;

#ifdef _WIN32
constexpr std::string_view pathSeparators = "\\/";
#else
constexpr std::string_view pathSeparators = "/";
#endif

void enterProgramFolder(std::string_view programFilePath) {
    const std::string_view folder = programFolderOf(programFilePath);
    if (folder.empty()) return;
    std::error_code ignored;  // a folder that cannot be entered leaves the current one
    std::filesystem::current_path(std::filesystem::u8path(folder.begin(), folder.end()), ignored);
}

void initialiseRuntime(Host& host, const WindowHooks& hooks) {
    dragDropStarted = host.initialiseDragDrop();
    enterProgramFolder(host.programFilePath());
    if (!hooks.readDescription || !hooks.readDescription()) fatalStop(gbk::windowDataUnreadable);
}

void loadMainWindow(Host& host, const WindowHooks& hooks) {
    if (!host.createMainWindow()) fatalStop(gbk::windowLoadFailed);
    if (hooks.windowReady) hooks.windowReady();
    if (host.mainWindowExists()) host.showMainWindowCentred();
}

}  // namespace

void registerExitRoutine(ExitRoutine routine) {
    auto& list = routines();
    if (std::find(list.begin(), list.end(), routine) == list.end()) list.push_back(routine);
}

const std::vector<ExitRoutine>& exitRoutineList() { return routines(); }

void clearExitRoutines() { routines().clear(); }

void endProgram(std::int32_t /*exitCode*/) {
    // A routine may not add to the list while it runs, so walk a copy.
    const std::vector<ExitRoutine> toRun = routines();
    for (ExitRoutine routine : toRun) routine();
    clearExitRoutines();
    if (runningHost != nullptr) {
        runningHost->releaseComponents();
        if (dragDropStarted) runningHost->uninitialiseDragDrop();
    }
    dragDropStarted = false;
}

int startProgram(Host& host, const WindowHooks& hooks) {
    runningHost = &host;
    setFatalBoxPresenter([&host](const Text& boxText) { host.showFatalBox(boxText); });
    initialiseRuntime(host, hooks);
    std::fesetenv(FE_DFL_ENV);  // round to nearest, every exception masked
    registerExitRoutine(releaseWorkingState);
    loadMainWindow(host, hooks);
    host.runMessageLoop();
    endProgram(0);
    setFatalBoxPresenter(nullptr);
    runningHost = nullptr;
    return 0;
}

std::string_view programFolderOf(std::string_view programFilePath) {
    const std::size_t last = programFilePath.find_last_of(pathSeparators);
    if (last == std::string_view::npos) return {};
    // A program in the root folder keeps the root itself.
    return programFilePath.substr(0, last == 0 ? 1 : last);
}
