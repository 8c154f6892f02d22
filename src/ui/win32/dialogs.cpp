#include "ui/win32/dialogs.h"

#include "app/win32/executable_folder.h"
#include "ui/help_document.h"
#include "ui/win32/main_window.h"
#include "ui/win32/resource_ids.h"

#include <shellapi.h>

namespace orvane {

namespace {

INT_PTR CALLBACK aboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextW(dialog, IDC_ABOUT_VERSION, (std::wstring(L"Version ") + kVersionText).c_str());
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_ABOUT_HELP) openHelpDocument(dialog);
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    default: return FALSE;
    }
}

INT_PTR CALLBACK disclaimerProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        if (!lParam) {
            // View only: one button that closes.
            ShowWindow(GetDlgItem(dialog, IDCANCEL), SW_HIDE);
            SetDlgItemTextW(dialog, IDOK, L"Close");
        }
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            const bool asked = GetWindowLongPtrW(dialog, DWLP_USER) != 0;
            EndDialog(dialog, asked && LOWORD(wParam) == IDOK ? IDOK : IDCANCEL);
        }
        return TRUE;
    default: return FALSE;
    }
}

}  // namespace

void showAboutBox(AppState& state) {
    DialogBoxParamW(state.instance, MAKEINTRESOURCEW(IDD_ABOUT), state.mainWindow, aboutProc, 0);
}

bool showDisclaimer(HWND owner, bool askToAccept) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    return DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_DISCLAIMER), owner, disclaimerProc, askToAccept ? 1 : 0) ==
           IDOK;
}

void openHelpDocument(HWND owner) {
    for (const std::wstring& path : helpDocumentCandidates(executableFolder())) {
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
        ShellExecuteW(owner, L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return;
    }
    MessageBoxW(owner, L"Help file not found.\n\nSee Orvane_Help in the Orvane_Documents folder.", L"Orvane Help",
                MB_OK | MB_ICONINFORMATION);
}

}  // namespace orvane
