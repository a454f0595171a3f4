#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/fatal.h"
#include "app/lifecycle.h"
#include "app/text.h"
#include "app/working_state.h"
#include "platform/host.h"

namespace {

// Records what the start-up sequence asks of it, in order.
class RecordingHost : public Host {
public:
    std::vector<std::string> calls;
    std::string programPath = "squarepic";
    bool windowCreates = true;
    std::filesystem::path folderDuringLoop;

    bool initialiseDragDrop() override { return record("initialiseDragDrop", true); }
    void uninitialiseDragDrop() override { record("uninitialiseDragDrop"); }
    std::string programFilePath() override {
        record("programFilePath");
        return programPath;
    }
    bool createMainWindow() override { return record("createMainWindow", windowCreates); }
    bool mainWindowExists() override { return record("mainWindowExists", true); }
    void showMainWindowCentred() override { record("showMainWindowCentred"); }
    void runMessageLoop() override {
        record("runMessageLoop");
        folderDuringLoop = std::filesystem::current_path();
    }
    void showFatalBox(const Text& boxText) override {
        std::fprintf(stderr, "box[%s]\n", boxText.c_str());
    }
    void releaseComponents() override { record("releaseComponents"); }

    // The window's controls play no part in the start-up order.
    WindowHandle mainWindowHandle() override { return 1; }
    void setControlText(std::string_view, const Text&) override {}
    Text editBoxText(std::string_view) override { return Text(); }
    void placeSliderThumb(std::string_view, std::int32_t) override {}
    void repaintControl(std::string_view) override {}
    std::optional<std::string> showSaveDialog(const SaveDialogRequest&) override { return std::nullopt; }
    void showMessageBox(const Text&, const Text&) override {}
    bool registerDropTarget(WindowHandle) override { return true; }
    void revokeDropTarget(WindowHandle) override {}
    int displayBitsPerPixel() override { return 32; }
    std::uint32_t buttonFaceColour() override { return 0xF0F0F0; }

private:
    bool record(const char* call, bool result = true) {
        calls.emplace_back(call);
        return result;
    }
};

std::vector<std::string> called;
void firstRoutine() { called.emplace_back("first"); }
void secondRoutine() { called.emplace_back("second"); }

WindowHooks recordingHooks(RecordingHost& host) {
    return {[] { return true; }, [&host] { host.calls.emplace_back("windowReady"); }};
}

TEST(StartProgram, RunsTheStartUpAndShutdownOrder) {
    RecordingHost host;
    EXPECT_EQ(startProgram(host, recordingHooks(host)), 0);
    const std::vector<std::string> expected = {
        "initialiseDragDrop", "programFilePath",  "createMainWindow",  "windowReady",
        "mainWindowExists",   "showMainWindowCentred", "runMessageLoop", "releaseComponents",
        "uninitialiseDragDrop",
    };
    EXPECT_EQ(host.calls, expected);
    EXPECT_TRUE(exitRoutineList().empty());
}

TEST(StartProgram, EntersTheProgramFolder) {
    const auto original = std::filesystem::current_path();
    const auto folder = std::filesystem::canonical(std::filesystem::temp_directory_path());
    RecordingHost host;
    host.programPath = (folder / "squarepic").string();
    startProgram(host, recordingHooks(host));
    std::filesystem::current_path(original);
    EXPECT_EQ(host.folderDuringLoop, folder);
}

TEST(ProgramFolderOf, CutsBeforeTheLastSeparator) {
    EXPECT_EQ(programFolderOf("/opt/squarepic/bin/squarepic"), "/opt/squarepic/bin");
    EXPECT_EQ(programFolderOf("/squarepic"), "/");
    EXPECT_EQ(programFolderOf("squarepic"), "");
}

TEST(ExitRoutines, RunOnceEachInRegistrationOrder) {
    called.clear();
    registerExitRoutine(firstRoutine);
    registerExitRoutine(secondRoutine);
    registerExitRoutine(firstRoutine);
    EXPECT_EQ(exitRoutineList().size(), 2u);
    endProgram(0);
    EXPECT_EQ(called, (std::vector<std::string>{"first", "second"}));
    EXPECT_TRUE(exitRoutineList().empty());
}

TEST(FatalBoxText, HoldsTheHeadingAndTheMessageLine) {
    EXPECT_EQ(fatalBoxText("").view(), "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n");
    EXPECT_EQ(fatalBoxText("x").view(),
              "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n"
              "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA" "x\r\n");
}

void announceRelease() {
    std::fputs("exit routine ran\n", stderr);
}

// fatalStop ends the process with -1, which a POSIX parent reads as 255.
#ifdef _WIN32
constexpr int fatalExitStatus = -1;
#else
constexpr int fatalExitStatus = 255;
#endif

// One box holding message, and nothing after it. GoogleTest's regular
// expressions on Windows have no bracket expressions: there only the
// message is looked for.
std::string fatalBoxPattern(const char* message) {
#ifdef _WIN32
    return message;
#else
    return std::string("^box\\[[^]]*") + message + "[^]]*\\]\n$";
#endif
}

// Each fatal start shows one box and ends with -1 before any exit routine.
void startWith(bool descriptionReadable, bool windowCreates) {
    registerExitRoutine(announceRelease);
    RecordingHost host;
    host.windowCreates = windowCreates;
    startProgram(host, {[descriptionReadable] { return descriptionReadable; }, nullptr});
}

TEST(StartProgramDeathTest, AnUnreadableDescriptionStopsTheProgram) {
    EXPECT_EXIT(startWith(false, true), testing::ExitedWithCode(fatalExitStatus),
                fatalBoxPattern("\xD4\xD8\xC8\xEB\xB4\xB0\xBF\xDA\xC4\xA3\xB0\xE5"));
}

TEST(StartProgramDeathTest, AWindowThatCannotBeMadeStopsTheProgram) {
    EXPECT_EXIT(startWith(true, false), testing::ExitedWithCode(fatalExitStatus),
                fatalBoxPattern("\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC"));
}

}  // namespace
