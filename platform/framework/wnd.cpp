#include "platform/framework/wnd.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "platform/framework/win_app.h"
#include "platform/framework/window_backend.h"
#include "platform/message_box.h"

namespace sif {
namespace {

std::unordered_map<HWND, CWnd*>& HandleMap() {
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

HWND Item(const CWnd* wnd, int id) {
    WindowBackend* backend = GetWindowBackend();
    if (backend == nullptr || wnd->m_hWnd == nullptr)
        return nullptr;
    return backend->GetDlgItem(wnd->m_hWnd, id);
}

}  // namespace

const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* map, UINT message, UINT code, UINT id) {
    for (; map != nullptr; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->nMessage != 0; ++entry) {
            if (entry->nMessage != message)
                continue;
            if (message == WM_COMMAND && (entry->nCode != code || entry->nID != id))
                continue;
            return entry;
        }
    }
    return nullptr;
}

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY kEntries[] = {{0, 0, 0, nullptr}};
    static const AFX_MSGMAP kMap = {nullptr, kEntries};
    return &kMap;
}

const AFX_MSGMAP* CWnd::GetMessageMap() const {
    return GetThisMessageMap();
}

CWnd::~CWnd() {
    // The window outlives a detached object; only the mapping goes.
    Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    auto it = HandleMap().find(hwnd);
    return it == HandleMap().end() ? nullptr : it->second;
}

BOOL CWnd::Attach(HWND hwnd) {
    if (hwnd == nullptr || m_hWnd != nullptr || FromHandlePermanent(hwnd) != nullptr)
        return FALSE;
    m_hWnd = hwnd;
    HandleMap()[hwnd] = this;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hwnd = m_hWnd;
    if (hwnd != nullptr) {
        HandleMap().erase(hwnd);
        m_hWnd = nullptr;
    }
    return hwnd;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
    if (parent == nullptr)
        return FALSE;
    if (!Attach(Item(parent, static_cast<int>(id))))
        return FALSE;
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    WindowBackend* backend = GetWindowBackend();
    if (m_hWnd == nullptr || backend == nullptr)
        return FALSE;
    backend->DestroyWindow(m_hWnd);  // dispatches WM_DESTROY and detaches
    return TRUE;
}

BOOL CWnd::ShowWindow(int showCommand) {
    return sif::ShowWindow(m_hWnd, showCommand);
}

BOOL CWnd::EnableWindow(BOOL enable) {
    WindowBackend* backend = GetWindowBackend();
    if (m_hWnd == nullptr || backend == nullptr)
        return FALSE;
    BOOL wasDisabled = !backend->IsWindowEnabled(m_hWnd);
    backend->EnableWindow(m_hWnd, enable != FALSE);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const {
    WindowBackend* backend = GetWindowBackend();
    return m_hWnd != nullptr && backend != nullptr && backend->IsWindowEnabled(m_hWnd);
}

BOOL CWnd::IsWindowVisible() const {
    WindowBackend* backend = GetWindowBackend();
    return m_hWnd != nullptr && backend != nullptr && backend->IsWindowVisible(m_hWnd);
}

int CWnd::GetDlgItemTextA(int id, char* buffer, int size) const {
    if (buffer == nullptr || size <= 0)
        return 0;
    buffer[0] = '\0';
    HWND item = Item(this, id);
    if (item == nullptr)
        return 0;
    std::string text = GetWindowBackend()->GetWindowTextA(item);
    std::size_t count = std::min(text.size(), static_cast<std::size_t>(size) - 1);
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return static_cast<int>(count);
}

BOOL CWnd::IsDlgItemTextExact(int id) const {
    HWND item = Item(this, id);
    return item == nullptr || GetWindowBackend()->IsWindowTextExact(item);
}

void CWnd::SetDlgItemTextA(int id, const char* text) {
    HWND item = Item(this, id);
    if (item != nullptr)
        GetWindowBackend()->SetWindowTextA(item, text != nullptr ? text : "");
}

std::string CWnd::GetDlgItemFileName(int id) const {
    HWND item = Item(this, id);
    return item != nullptr ? GetWindowBackend()->GetWindowFileName(item) : std::string();
}

void CWnd::SetDlgItemFileName(int id, const std::string& fileName) {
    HWND item = Item(this, id);
    if (item != nullptr)
        GetWindowBackend()->SetWindowFileName(item, fileName);
}

LRESULT CWnd::SendDlgItemMessageA(int id, UINT message, WPARAM wParam, LPARAM) {
    HWND item = Item(this, id);
    if (item == nullptr)
        return 0;
    switch (message) {
        case BM_SETCHECK:
            GetWindowBackend()->SetCheck(item, static_cast<int>(wParam));
            return 0;
        case BM_GETCHECK:
            return GetWindowBackend()->GetCheck(item);
        default:
            return 0;
    }
}

void CWnd::CheckDlgButton(int id, UINT check) {
    SendDlgItemMessageA(id, BM_SETCHECK, check);
}

UINT CWnd::IsDlgButtonChecked(int id) const {
    HWND item = Item(this, id);
    return item != nullptr ? static_cast<UINT>(GetWindowBackend()->GetCheck(item)) : 0;
}

int CWnd::GetCheckedRadioButton(int firstId, int lastId) const {
    for (int id = firstId; id <= lastId; ++id) {
        if (IsDlgButtonChecked(id) != 0)
            return id;
    }
    return 0;
}

int CWnd::MessageBoxA(const char* text, const char* caption, UINT type) {
    return sif::MessageBoxA(m_hWnd, text, caption != nullptr ? caption : "", type);
}

BOOL CWnd::OnCmdMsg(UINT id, UINT code) {
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(GetMessageMap(), WM_COMMAND, code, id);
    if (entry == nullptr)
        return FALSE;
    (this->*entry->pfn)();
    return TRUE;
}

void CWnd::SendDestroy() {
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(GetMessageMap(), WM_DESTROY, 0, 0);
    if (entry != nullptr) {
        (this->*entry->pfn)();
    } else {
        OnDestroy();
    }
}

// --- backend entry points ---

void DispatchCommand(HWND dialog, int id, UINT notification) {
    CWnd* wnd = CWnd::FromHandlePermanent(dialog);
    if (wnd != nullptr)
        wnd->OnCmdMsg(static_cast<UINT>(id), notification);
}

void DispatchDestroy(HWND window) {
    CWnd* wnd = CWnd::FromHandlePermanent(window);
    if (wnd != nullptr)
        wnd->SendDestroy();
}

void DispatchDetach(HWND window) {
    CWnd* wnd = CWnd::FromHandlePermanent(window);
    if (wnd != nullptr)
        wnd->Detach();
}

}  // namespace sif
