#include "platform/win32/win32_window_backend.h"

#include <commdlg.h>

#include <cstring>
#include <vector>

#include "platform/framework/field_label.h"
#include "platform/window_styles.h"

namespace sif::win32 {
namespace {

// Dialog texts are Windows-1252 whatever the system's code page; the
// windows are Unicode, so what the user types is never lost before we read it.
constexpr UINT kDialogCodePage = 1252;

std::wstring Widen(const std::string& text, UINT codePage) {
    if (text.empty())
        return {};
    int size =
        MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage, bool* exact) {
    if (exact != nullptr)
        *exact = true;
    if (wide.empty())
        return {};
    BOOL usedDefault = FALSE;
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL* lossy = codePage == CP_UTF8 ? nullptr : &usedDefault;
    int size = WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()),
                                   nullptr, 0, nullptr, lossy);
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), text.data(),
                        size, nullptr, lossy);
    if (exact != nullptr)
        *exact = usedDefault == FALSE;
    return text;
}

std::wstring WindowTextW(::HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

// The template as the module holds it, with WS_VISIBLE taken out: the
// framework shows a dialog once OnInitDialog has run.
std::vector<unsigned char> HiddenTemplate(unsigned id) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));  // RT_DIALOG
    HGLOBAL loaded = found != nullptr ? LoadResource(nullptr, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr)
        return {};
    const auto* begin = static_cast<const unsigned char*>(bytes);
    std::vector<unsigned char> copy(begin, begin + SizeofResource(nullptr, found));
    // DLGTEMPLATEEX starts with version 1 and 0xFFFF; its style is at 12.
    const bool extended =
        copy.size() >= 16 && copy[0] == 1 && copy[1] == 0 && copy[2] == 0xFF && copy[3] == 0xFF;
    const std::size_t at = extended ? 12 : 0;
    if (copy.size() < at + 4)
        return {};
    DWORD style;
    std::memcpy(&style, copy.data() + at, sizeof style);
    style &= ~static_cast<DWORD>(WS_VISIBLE);
    std::memcpy(copy.data() + at, &style, sizeof style);
    return copy;
}

BOOL CALLBACK CollectChild(::HWND child, ::LPARAM list) {
    reinterpret_cast<std::vector<::HWND>*>(list)->push_back(child);
    return TRUE;
}

// Draws BMP file bytes at the top-left corner, unscaled.
void DrawBmp(HDC dc, const ButtonBitmaps::Picture& picture) {
    if (picture.data == nullptr || picture.size < 14 + sizeof(BITMAPINFOHEADER))
        return;
    DWORD bitsOffset;
    std::memcpy(&bitsOffset, picture.data + 10, sizeof bitsOffset);
    if (bitsOffset >= picture.size)
        return;
    const auto* info = reinterpret_cast<const BITMAPINFO*>(picture.data + 14);
    const LONG width = info->bmiHeader.biWidth;
    const LONG height =
        info->bmiHeader.biHeight < 0 ? -info->bmiHeader.biHeight : info->bmiHeader.biHeight;
    SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                      static_cast<UINT>(height), picture.data + bitsOffset, info, DIB_RGB_COLORS);
}

bool IsStaticText(::HWND window) {
    wchar_t name[8] = L"";
    GetClassNameW(window, name, 8);
    return lstrcmpiW(name, L"Static") == 0;
}

// A screen reader names a field by the nearest static text before it in the
// window order, which is the template's: where that is not the label beside
// the field, the label moves right before it. Static texts take no focus, so
// the tab order stays.
void PutLabelsBeforeTheirFields(::HWND window, const res::DialogResource& dialog) {
    for (std::size_t i = 0; i < dialog.controlCount; ++i) {
        if (std::strcmp(dialog.controls[i].className, "Edit") != 0)
            continue;
        const int label = FindFieldLabel(dialog, i);
        if (label < 0 || dialog.controls[label].id == -1)
            continue;
        ::HWND field = ::GetDlgItem(window, dialog.controls[i].id);
        ::HWND text = ::GetDlgItem(window, dialog.controls[label].id);
        ::HWND before = field != nullptr ? GetWindow(field, GW_HWNDPREV) : nullptr;
        while (before != nullptr && !IsStaticText(before))
            before = GetWindow(before, GW_HWNDPREV);
        if (text != nullptr && before != text)
            SetWindowPos(text, GetWindow(field, GW_HWNDPREV), 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

}  // namespace

Win32WindowBackend::Win32WindowBackend() = default;

Win32WindowBackend::~Win32WindowBackend() {
    if (background_ != nullptr)
        DeleteObject(background_);
}

INT_PTR CALLBACK Win32WindowBackend::DialogProc(::HWND dialog, UINT message, ::WPARAM wParam,
                                                ::LPARAM lParam) {
    if (message == WM_INITDIALOG)
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* backend = reinterpret_cast<Win32WindowBackend*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return backend != nullptr ? backend->OnMessage(dialog, message, wParam, lParam) : FALSE;
}

INT_PTR Win32WindowBackend::OnMessage(::HWND dialog, UINT message, ::WPARAM wParam,
                                      ::LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return FALSE;  // the framework gives the focus
        case WM_COMMAND:
            DispatchCommand(FromWin32(dialog), LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_CLOSE:
            DispatchCommand(FromWin32(dialog), IDCANCEL, BN_CLICKED);
            return TRUE;
        case WM_DESTROY:
            DispatchDestroy(FromWin32(dialog));
            return TRUE;
        case WM_DRAWITEM:
            return DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)) ? TRUE : FALSE;
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            if (background_ == nullptr)
                return FALSE;
            SetTextColor(reinterpret_cast<HDC>(wParam), textColor_);
            SetBkColor(reinterpret_cast<HDC>(wParam), backgroundColor_);
            return reinterpret_cast<INT_PTR>(background_);
        default:
            return FALSE;
    }
}

bool Win32WindowBackend::DrawButton(const DRAWITEMSTRUCT& item) {
    auto found = bitmaps_.find(item.hwndItem);
    if (item.CtlType != ODT_BUTTON || found == bitmaps_.end())
        return false;
    DrawBmp(item.hDC, found->second.For((item.itemState & ODS_SELECTED) != 0,
                                        (item.itemState & ODS_FOCUS) != 0,
                                        (item.itemState & ODS_DISABLED) != 0));
    return true;
}

HWND Win32WindowBackend::CreateDialogWindow(const res::DialogResource& dialog, HWND owner) {
    std::vector<unsigned char> hidden = HiddenTemplate(dialog.id);
    if (hidden.empty())
        return nullptr;
    ::HWND window = CreateDialogIndirectParamW(
        GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(hidden.data()),
        ToWin32(owner), DialogProc, reinterpret_cast<::LPARAM>(this));
    if (window != nullptr)
        PutLabelsBeforeTheirFields(window, dialog);
    return FromWin32(window);
}

void Win32WindowBackend::DestroyWindow(HWND handle) {
    ::HWND window = ToWin32(handle);
    if (window == nullptr || !IsWindow(window))
        return;
    std::vector<::HWND> children;
    EnumChildWindows(window, CollectChild, reinterpret_cast<::LPARAM>(&children));
    const bool isControl = (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0;
    if (isControl)
        DispatchDestroy(handle);  // a dialog hears its own WM_DESTROY
    ::DestroyWindow(window);
    for (::HWND child : children) {
        bitmaps_.erase(child);
        DispatchDetach(FromWin32(child));
    }
    bitmaps_.erase(window);
    DispatchDetach(handle);
    if (window == modalDialog_)
        modalEnded_ = true;
}

void Win32WindowBackend::ShowWindow(HWND window, int showCommand) {
    ::ShowWindow(ToWin32(window), showCommand);
}

bool Win32WindowBackend::IsWindowVisible(HWND window) const {
    return ::IsWindowVisible(ToWin32(window)) != FALSE;
}

void Win32WindowBackend::EnableWindow(HWND window, bool enable) {
    ::EnableWindow(ToWin32(window), enable ? TRUE : FALSE);
}

bool Win32WindowBackend::IsWindowEnabled(HWND window) const {
    return ::IsWindowEnabled(ToWin32(window)) != FALSE;
}

HWND Win32WindowBackend::GetDlgItem(HWND dialog, int id) const {
    if (id == -1)
        return nullptr;  // the static texts share it
    return FromWin32(::GetDlgItem(ToWin32(dialog), id));
}

std::string Win32WindowBackend::GetWindowTextA(HWND window) const {
    return Narrow(WindowTextW(ToWin32(window)), kDialogCodePage, nullptr);
}

bool Win32WindowBackend::IsWindowTextExact(HWND window) const {
    bool exact = true;
    Narrow(WindowTextW(ToWin32(window)), kDialogCodePage, &exact);
    return exact;
}

void Win32WindowBackend::SetWindowTextA(HWND window, const std::string& text) {
    SetWindowTextW(ToWin32(window), Widen(text, kDialogCodePage).c_str());
}

std::string Win32WindowBackend::GetWindowFileName(HWND window) const {
    // The file services open names in the system's ANSI code page.
    return Narrow(WindowTextW(ToWin32(window)), CP_ACP, nullptr);
}

void Win32WindowBackend::SetWindowFileName(HWND window, const std::string& fileName) {
    SetWindowTextW(ToWin32(window), Widen(fileName, CP_ACP).c_str());
}

int Win32WindowBackend::GetCheck(HWND button) const {
    return static_cast<int>(SendMessageW(ToWin32(button), BM_GETCHECK, 0, 0));
}

void Win32WindowBackend::SetCheck(HWND button, int state) {
    SendMessageW(ToWin32(button), BM_SETCHECK, static_cast<::WPARAM>(state), 0);
}

void Win32WindowBackend::SetWindowSize(HWND window, int width, int height) {
    SetWindowPos(ToWin32(window), nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

void Win32WindowBackend::SetButtonBitmaps(HWND button, const ButtonBitmaps& bitmaps) {
    bitmaps_[ToWin32(button)] = bitmaps;
    InvalidateRect(ToWin32(button), nullptr, TRUE);
}

void Win32WindowBackend::FocusFirstTabStop(HWND dialog) {
    ::HWND first = GetNextDlgTabItem(ToWin32(dialog), nullptr, FALSE);
    if (first != nullptr)
        SetFocus(first);
}

void Win32WindowBackend::SetDialogColors(COLORREF background, COLORREF text) {
    if (background_ != nullptr)
        DeleteObject(background_);
    background_ = CreateSolidBrush(background);
    backgroundColor_ = background;
    textColor_ = text;
}

bool Win32WindowBackend::IsOurDialogMessage(MSG& message) const {
    ::HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root == nullptr || GetWindowLongPtrW(root, DWLP_USER) != reinterpret_cast<LONG_PTR>(this))
        return false;
    return IsDialogMessageW(root, &message) != FALSE;
}

int Win32WindowBackend::RunMessageLoop() {
    MSG message{};
    while (!quitPosted_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!IsOurDialogMessage(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return quitPosted_ ? quitCode_ : static_cast<int>(message.wParam);
}

void Win32WindowBackend::PostQuitMessage(int exitCode) {
    quitPosted_ = true;
    quitCode_ = exitCode;
    ::PostQuitMessage(exitCode);
}

void Win32WindowBackend::RunModalLoop(HWND dialog) {
    ::HWND outer = modalDialog_;
    const bool outerEnded = modalEnded_;
    modalDialog_ = ToWin32(dialog);
    modalEnded_ = false;
    ::ShowWindow(modalDialog_, SW_SHOW);
    MSG message{};
    while (!modalEnded_) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                ::PostQuitMessage(static_cast<int>(message.wParam));  // for the outer loop
            break;
        }
        if (!IsOurDialogMessage(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    modalDialog_ = outer;
    modalEnded_ = outerEnded;
}

void Win32WindowBackend::EndModalLoop(HWND dialog) {
    if (ToWin32(dialog) == modalDialog_) {
        modalEnded_ = true;
        PostMessageW(modalDialog_, WM_NULL, 0, 0);  // wakes the loop
    }
}

int Win32WindowBackend::ShowMessageBox(HWND owner, const char* text, const char* caption, UINT) {
    // A box without an owner leaves the main dialog enabled; MB_TASKMODAL
    // would disable every window of the thread.
    MessageBoxW(ToWin32(owner), Widen(text != nullptr ? text : "", kDialogCodePage).c_str(),
                Widen(caption != nullptr ? caption : "", kDialogCodePage).c_str(), MB_OK);
    return IDOK;
}

std::optional<std::string> Win32WindowBackend::ChooseOpenFile(const OpenFileRequest& request) {
    // "Name\0pattern\0...\0\0", in the dialog code page.
    std::string filter;
    for (const FileFilter& f : request.filters) {
        filter += f.name + '\0' + f.pattern + '\0';
    }
    filter += '\0';
    char chosen[MAX_PATH] = "";
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(request.filterIndex);
    dialog.lpstrFile = chosen;
    dialog.nMaxFile = MAX_PATH;
    // The program moves to the chosen folder itself (GetOpenFileNameA).
    dialog.Flags = OFN_NOCHANGEDIR | OFN_HIDEREADONLY |
                   (request.fileMustExist ? OFN_FILEMUSTEXIST : 0u) |
                   (request.pathMustExist ? OFN_PATHMUSTEXIST : 0u);
    if (!::GetOpenFileNameA(&dialog))
        return std::nullopt;
    return std::string(chosen);
}

}  // namespace sif::win32
