#include "platform/win32/dialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "app/text.h"
#include "platform/win32/wide_text.h"

namespace {

// The dialog's name buffer, in characters, the terminating zero included.
constexpr std::size_t nameBufferLength = MAX_PATH;

constexpr char errorCaption[] = "\xB4\xED\xCE\xF3";  // 错误

}  // namespace

std::optional<std::string> runSaveDialog(const SaveDialogRequest& request, HWND owner) {
    std::vector<wchar_t> name(nameBufferLength, L'\0');
    const std::wstring proposed = wideFromUtf8(request.proposedPath);
    // A proposal longer than the buffer is cut to fit.
    std::copy_n(proposed.begin(), std::min(proposed.size(), nameBufferLength - 1), name.begin());
    const std::wstring extension = wideFromUtf8(request.defaultExtension);

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLESIZING |
                   (request.overwritePrompt ? OFN_OVERWRITEPROMPT : 0) |
                   (request.pathMustExist ? OFN_PATHMUSTEXIST : 0);
    if (!::GetSaveFileNameW(&dialog)) return std::nullopt;
    return utf8FromWide(name.data());
}

void runMessageBox(const Text& text, const Text& caption) {
    ::MessageBoxW(nullptr, wideFromGbk(text.view()).c_str(), wideFromGbk(caption.view()).c_str(),
                  MB_OK | MB_TASKMODAL);
}

void runFatalBox(const Text& boxText) {
    ::MessageBoxW(nullptr, wideFromGbk(boxText.view()).c_str(), wideFromGbk(errorCaption).c_str(),
                  MB_OK | MB_ICONERROR | MB_TASKMODAL);
}
