#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "actions/actions.h"
#include "app/lifecycle.h"
#include "platform/win32/win32_host.h"
#include "window/controls.h"

int main() {
    Win32Host host(::GetModuleHandleW(nullptr));
    return startProgram(host, mainWindowHooks(host, actionHandlers()));
}
