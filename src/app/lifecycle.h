#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

class Host;

using ExitRoutine = void (*)();

// Appends routine to the exit-routine list unless it already stands there.
void registerExitRoutine(ExitRoutine routine);
const std::vector<ExitRoutine>& exitRoutineList();
void clearExitRoutines();

// The end-of-program sequence: the exit routines in registration order, the
// list emptied, the host's components released, drag and drop shut down.
void endProgram(std::int32_t exitCode);

// What the window layer lends to the start-up sequence.
struct WindowHooks {
    // Reads the main window's description; false when it cannot be read.
    std::function<bool()> readDescription;
    // Raised once, after every control exists and before the window shows.
    std::function<void()> windowReady;
};

// The program's life from start-up to the end of the message loop. Returns
// the exit code of an orderly end, 0.
int startProgram(Host& host, const WindowHooks& hooks);

// The folder part of a program file path: everything before its last
// separator, or empty when the path has none.
std::string_view programFolderOf(std::string_view programFilePath);
