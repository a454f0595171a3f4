// Waits until a window of the given class and caption exists, as another
// program would look for the main window; exit code 0 once it is found,
// 1 when it has not appeared within the given seconds.
//
// Usage: find_window.exe CLASS CAPTION SECONDS

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) return 2;
    const long seconds = std::wcstol(argv[3], nullptr, 10);
    for (long waited = 0; waited <= seconds * 10; ++waited) {
        if (::FindWindowW(argv[1], argv[2]) != nullptr) return 0;
        ::Sleep(100);
    }
    return 1;
}
