#include "platform/win32/main_window.h"

#include <commctrl.h>

#include <array>
#include <atomic>

#include "platform/win32/wide_text.h"
#include "window/controls.h"
#include "window/description.h"
#include "window/picture_box.h"
#include "imaging/raster.h"

namespace {

constexpr wchar_t labelClass[] = L"SquarePicLabel";
constexpr wchar_t previewClass[] = L"SquarePicPreview";
// Control identifiers are the description's index plus this; the dialog
// identifiers IDOK and IDCANCEL stay below it.
constexpr int firstControlId = 100;
constexpr std::size_t maxControls = 32;

std::array<std::atomic<HWND>, maxControls> controlWindows{};
bool closing = false;

COLORREF colourOf(std::uint32_t colour) {
    return colour == buttonFace ? ::GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(colour & 0x00FFFFFF);
}

const ControlDescription* describedById(int id) {
    const WindowDescription& description = mainWindowDescription();
    const int index = id - firstControlId;
    if (index < 0 || static_cast<std::size_t>(index) >= description.controlCount) return nullptr;
    return &description.controls[index];
}

const ControlDescription* describedByWindow(HWND window) {
    return describedById(::GetDlgCtrlID(window));
}

// Labels paint their own background and text in the description's colours
// with the default GUI font: one line centred vertically, or wrapped lines
// from the top.
void paintLabel(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window, &paint);
    const ControlDescription* described = describedByWindow(window);
    RECT client;
    ::GetClientRect(window, &client);
    if (described != nullptr) {
        HBRUSH background = ::CreateSolidBrush(colourOf(described->background));
        ::FillRect(dc, &client, background);
        ::DeleteObject(background);
        const int length = ::GetWindowTextLengthW(window);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        ::GetWindowTextW(window, text.data(), length + 1);
        text.resize(static_cast<std::size_t>(length));
        HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, colourOf(described->textColour));
        const UINT format = described->lines == LabelLines::OneLine
                                ? DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX
                                : DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX;
        ::DrawTextW(dc, text.c_str(), length, &client, format);
        ::SelectObject(dc, oldFont);
    }
    ::EndPaint(window, &paint);
}

LRESULT CALLBACK labelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: paintLabel(window); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_SETTEXT: {
        const LRESULT result = ::DefWindowProcW(window, message, wParam, lParam);
        ::InvalidateRect(window, nullptr, FALSE);
        return result;
    }
    default: return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

// The preview paints itself into a raster in the core; here it is only
// copied to the screen. The raster's 0x00RRGGBB pixels are the layout of a
// 32-bit device-independent bitmap.
void paintPreview(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window, &paint);
    RECT client;
    ::GetClientRect(window, &client);
    if (std::optional<Raster> raster = Raster::create(client.right, client.bottom)) {
        previewPictureBox().paint(*raster);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = raster->width();
        info.bmiHeader.biHeight = -raster->height();  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        ::SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(raster->width()), static_cast<DWORD>(raster->height()), 0, 0,
                            0, static_cast<UINT>(raster->height()), raster->row(0), &info, DIB_RGB_COLORS);
    }
    ::EndPaint(window, &paint);
}

LRESULT CALLBACK previewProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: paintPreview(window); return 0;
    case WM_ERASEBKGND: return 1;
    default: return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

// A size box takes typed digits, '-' and control characters (the editing
// and clipboard keys); other typed characters are dropped without a
// sound. A paste is taken as it is.
LRESULT CALLBACK sizeEditProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_CHAR) {
        const auto character = static_cast<wchar_t>(wParam);
        const bool accepted = character < 32 || character == L'-' || (character >= L'0' && character <= L'9');
        if (!accepted) return 0;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

// A group box holds controls; their notifications go on to the main window
// as if they were its own children.
LRESULT CALLBACK groupBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return ::SendMessageW(::GetAncestor(window, GA_ROOT), message, wParam, lParam);
    default: return ::DefSubclassProc(window, message, wParam, lParam);
    }
}

void onSliderScroll(WPARAM wParam, HWND slider) {
    if (slider == nullptr || describedByWindow(slider) == nullptr ||
        describedByWindow(slider)->kind != ControlKind::Slider) {
        return;
    }
    const auto code = static_cast<int>(LOWORD(wParam));
    if (code < TB_LINEUP || code > TB_ENDTRACK) return;
    const auto position = static_cast<std::int32_t>(::SendMessageW(slider, TBM_GETPOS, 0, 0));
    sliderScrolled(static_cast<ScrollCode>(code), position);
}

void onCommand(HWND window, WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    // Esc, through the dialog keys, closes the window as its close button
    // does; Enter (IDOK) presses nothing.
    if (id == IDCANCEL) {
        ::SendMessageW(window, WM_CLOSE, 0, 0);
        return;
    }
    const ControlDescription* described = describedById(id);
    if (described != nullptr && described->kind == ControlKind::Button && HIWORD(wParam) == BN_CLICKED &&
        lParam != 0) {
        raiseClicked(described->name);
    }
}

LRESULT CALLBACK mainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND: onCommand(window, wParam, lParam); return 0;
    case WM_HSCROLL: onSliderScroll(wParam, reinterpret_cast<HWND>(lParam)); return 0;
    case WM_CTLCOLOREDIT: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, RGB(0, 0, 0));
        ::SetBkColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_CLOSE:
        // windowDestroying runs while the controls still exist.
        if (!closing) {
            raiseWindowDestroying();
            closing = true;
        }
        ::DestroyWindow(window);
        return 0;
    case WM_DESTROY: ::PostQuitMessage(0); return 0;
    default: return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

// The program's icon at the size the system asks for; the icon resource
// holds an image drawn for each common size, so none is scaled.
HICON programIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
    return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                           ::GetSystemMetrics(widthMetric), ::GetSystemMetrics(heightMetric),
                                           LR_SHARED));
}

bool registerClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HICON icon, HICON smallIcon,
                   HBRUSH background) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = smallIcon;
    windowClass.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

struct ControlStyle {
    const wchar_t* windowClass;
    DWORD style;
};

ControlStyle styleOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label: return {labelClass, 0};
    case ControlKind::Button: return {WC_BUTTONW, BS_PUSHBUTTON};
    case ControlKind::EditBox: return {WC_EDITW, ES_CENTER | ES_AUTOHSCROLL};
    case ControlKind::GroupBox: return {WC_BUTTONW, BS_GROUPBOX};
    case ControlKind::Slider: return {TRACKBAR_CLASSW, TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS};
    case ControlKind::PictureBox: return {previewClass, 0};
    case ControlKind::Canvas:
    case ControlKind::FileDialog:
    case ControlKind::DropTarget: break;
    }
    return {nullptr, 0};
}

void setUpSlider(HWND slider) {
    const SliderSettings& settings = mainWindowDescription().slider;
    ::SendMessageW(slider, TBM_SETRANGEMIN, FALSE, settings.minimum);
    ::SendMessageW(slider, TBM_SETRANGEMAX, FALSE, settings.maximum);
    ::SendMessageW(slider, TBM_SETTICFREQ, static_cast<WPARAM>(settings.tickFrequency), 0);
    ::SendMessageW(slider, TBM_SETPAGESIZE, 0, settings.pageStep);
    ::SendMessageW(slider, TBM_SETLINESIZE, 0, settings.lineStep);
    ::SendMessageW(slider, TBM_SETPOS, TRUE, settings.storedPosition);
}

HWND createControl(HINSTANCE instance, HWND mainWindow, std::size_t index) {
    const ControlDescription& described = mainWindowDescription().controls[index];
    const ControlStyle style = styleOf(described.kind);
    if (style.windowClass == nullptr) return nullptr;
    HWND parent = described.container.empty() ? mainWindow : controlWindow(described.container);
    if (parent == nullptr) parent = mainWindow;
    DWORD windowStyle = WS_CHILD | style.style | (described.visible ? WS_VISIBLE : 0) |
                        (described.tabStop ? WS_TABSTOP : 0);
    DWORD extended = described.sunkenEdge ? WS_EX_STATICEDGE : 0;
    if (described.kind == ControlKind::GroupBox) extended |= WS_EX_CONTROLPARENT;
    HWND control = ::CreateWindowExW(extended, style.windowClass, wideFromGbk(described.text).c_str(), windowStyle,
                                     described.left, described.top, described.width, described.height, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(firstControlId + index)), instance,
                                     nullptr);
    if (control == nullptr) return nullptr;
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    if (described.kind == ControlKind::Slider) setUpSlider(control);
    if (described.kind == ControlKind::EditBox) ::SetWindowSubclass(control, sizeEditProcedure, 1, 0);
    if (described.kind == ControlKind::GroupBox) ::SetWindowSubclass(control, groupBoxProcedure, 1, 0);
    return control;
}

// Each group box comes after its controls in the description, so the
// description is built from its end: the containers exist first.
bool createControls(HINSTANCE instance, HWND mainWindow) {
    const WindowDescription& description = mainWindowDescription();
    if (description.controlCount > maxControls) return false;
    for (std::size_t i = description.controlCount; i-- > 0;) {
        if (styleOf(description.controls[i].kind).windowClass == nullptr) continue;
        HWND control = createControl(instance, mainWindow, i);
        if (control == nullptr) return false;
        controlWindows[i] = control;
    }
    return true;
}

}  // namespace

HWND createMainWindow(HINSTANCE instance) {
    const WindowDescription& description = mainWindowDescription();
    const std::wstring className = wideFromGbk(description.className);
    if (!registerClass(instance, className.c_str(), mainProcedure, programIcon(instance, SM_CXICON, SM_CYICON),
                       programIcon(instance, SM_CXSMICON, SM_CYSMICON), ::GetSysColorBrush(COLOR_BTNFACE)) ||
        !registerClass(instance, labelClass, labelProcedure, nullptr, nullptr, nullptr) ||
        !registerClass(instance, previewClass, previewProcedure, nullptr, nullptr, nullptr)) {
        return nullptr;
    }
    closing = false;
    // No clipping of the children: a group box draws only its frame and
    // title, and the window's button face must show through it.
    HWND window = ::CreateWindowExW(WS_EX_CONTROLPARENT, className.c_str(), wideFromGbk(description.caption).c_str(),
                                    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                    CW_USEDEFAULT, CW_USEDEFAULT, description.outerWidth, description.outerHeight,
                                    nullptr, nullptr, instance, nullptr);
    if (window == nullptr) return nullptr;
    if (!createControls(instance, window)) {
        ::DestroyWindow(window);
        forgetControls();
        return nullptr;
    }
    return window;
}

HWND controlWindow(std::string_view name) {
    const WindowDescription& description = mainWindowDescription();
    for (std::size_t i = 0; i < description.controlCount && i < maxControls; ++i) {
        if (description.controls[i].name == name) return controlWindows[i];
    }
    return nullptr;
}

void forgetControls() {
    for (auto& control : controlWindows) control = nullptr;
}

bool mainWindowClosing() { return closing; }
