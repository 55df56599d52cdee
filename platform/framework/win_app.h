// CWinApp: the one application object, its start-up and its message loop;
// with the free window services ShowWindow, PostQuitMessage and
// SetInterfaceLanguage.
#pragma once

#include <string>

#include "platform/framework/afx_types.h"

namespace sif {

class CWnd;

class CWinApp {
  public:
    // Registers the object as the application; only the first one counts.
    explicit CWinApp(const char* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // FALSE ends the program before the message loop.
    virtual BOOL InitInstance();
    // The message loop; returns the exit code.
    virtual int Run();
    virtual int ExitInstance(int exitCode);

    // Background and text colour of every dialog created afterwards.
    void SetDialogBkColor(COLORREF background = RGB(192, 192, 192), COLORREF text = RGB(0, 0, 0));

    const char* m_pszAppName;
    CWnd* m_pMainWnd = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;  // the start-up show state
};

CWinApp* AfxGetApp();

// The framework's resource-failure exception: a resource the program cannot
// do without is missing or damaged.
class CResourceException {
  public:
    explicit CResourceException(std::string what) : m_what(std::move(what)) {}
    const std::string& What() const { return m_what; }

  private:
    std::string m_what;
};

[[noreturn]] void AfxThrowResourceException(const std::string& what);

// Starts the registered application with the start-up show state: its
// InitInstance, then its message loop. A resource failure is reported on
// stderr and in a box; the result is then 1.
int AfxWinMain(int showCommand);

BOOL ShowWindow(HWND hwnd, int showCommand);
void PostQuitMessage(int exitCode);
// Tells the window backend the language the program speaks now ("de", "en"),
// so that the toolkit's own texts follow it.
void SetInterfaceLanguage(const std::string& languageCode);

}  // namespace sif
