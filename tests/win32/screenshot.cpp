#include "screenshot.h"

#include <optional>

#include "imaging/bitmap_file.h"
#include "imaging/raster.h"

namespace {

// The screen's pixels inside the rectangle; a raster's pixels have the
// layout of a top-down 32-bit device-independent bitmap.
std::optional<Raster> screenPixels(const RECT& area) {
    std::optional<Raster> raster = Raster::create(area.right - area.left, area.bottom - area.top);
    if (!raster) return std::nullopt;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, raster->width(), raster->height());
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, raster->width(), raster->height(), screen, area.left, area.top, SRCCOPY);
    ::SelectObject(memory, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = raster->width();
    info.bmiHeader.biHeight = -raster->height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const int rows = ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(raster->height()), raster->row(0), &info,
                                 DIB_RGB_COLORS);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    if (rows != raster->height()) return std::nullopt;
    for (std::int32_t y = 0; y < raster->height(); ++y) {
        for (std::int32_t x = 0; x < raster->width(); ++x) raster->row(y)[x] &= 0x00FFFFFF;
    }
    return raster;
}

}  // namespace

bool saveScreenshot(HWND window, const std::wstring& path) {
    RECT area{};
    if (!::GetWindowRect(window, &area)) return false;
    const std::optional<Raster> pixels = screenPixels(area);
    if (!pixels) return false;
    const Bytes file = encodeBitmapFile(*pixels);
    if (file.empty()) return false;
    HANDLE handle =
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool wrote = ::WriteFile(handle, file.data(), static_cast<DWORD>(file.size()), &written, nullptr) &&
                       written == file.size();
    return ::CloseHandle(handle) && wrote;
}
