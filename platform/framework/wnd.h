// CWnd: a window object attached to a backend window handle, with dialog-item
// access and command routing through its class's message map.
#pragma once

#include <string>

#include "platform/framework/afx_types.h"
#include "platform/framework/message_map.h"

namespace sif {

class CWnd {
  public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    // The object attached to `hwnd`, or null.
    static CWnd* FromHandlePermanent(HWND hwnd);

    BOOL Attach(HWND hwnd);
    HWND Detach();

    // Attaches this object to the dialog's control `id`, which it then draws
    // and handles; FALSE when there is no such control.
    BOOL SubclassDlgItem(UINT id, CWnd* parent);

    virtual BOOL DestroyWindow();
    BOOL ShowWindow(int showCommand);
    BOOL EnableWindow(BOOL enable);
    BOOL IsWindowEnabled() const;
    BOOL IsWindowVisible() const;

    // Text of control `id` in the single-byte code page, cut to size - 1
    // bytes, with its NUL; returns the count copied.
    int GetDlgItemTextA(int id, char* buffer, int size) const;
    // FALSE when the text of control `id` holds a character that the code
    // page lacks, which GetDlgItemTextA gives as '?'.
    BOOL IsDlgItemTextExact(int id) const;
    void SetDlgItemTextA(int id, const char* text);
    // Text of control `id` as a file name, whole, in the platform's file-name
    // encoding.
    std::string GetDlgItemFileName(int id) const;
    void SetDlgItemFileName(int id, const std::string& fileName);

    LRESULT SendDlgItemMessageA(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void CheckDlgButton(int id, UINT check);
    UINT IsDlgButtonChecked(int id) const;
    // The first checked button of first..last in ascending order, else 0.
    int GetCheckedRadioButton(int firstId, int lastId) const;

    // A box owned by this window, through the message-box sink. Under
    // <windows.h> MessageBox is a macro for this A name.
    int MessageBoxA(const char* text, const char* caption = nullptr, UINT type = 0);
#ifndef MessageBox
    int MessageBox(const char* text, const char* caption = nullptr, UINT type = 0) {
        return MessageBoxA(text, caption, type);
    }
#endif

    // Routes a command through the message maps; FALSE when none handles it.
    virtual BOOL OnCmdMsg(UINT id, UINT code);
    // Routes WM_DESTROY; the default processing when no table has it.
    void SendDestroy();

  protected:
    // Default processing of WM_DESTROY.
    void OnDestroy() {}
    // Called once attached by SubclassDlgItem.
    virtual void PreSubclassWindow() {}

    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;

  public:
    HWND m_hWnd = nullptr;
};

}  // namespace sif
