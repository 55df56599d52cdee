#include "platform/framework/win_app.h"

#include <cstdio>

#include "platform/framework/window_backend.h"
#include "platform/message_box.h"

namespace sif {
namespace {

CWinApp* g_app = nullptr;

// Fixed texts: the catalogue itself may be what is missing.
constexpr const char* kFatalCaption = "Sifteron";

}  // namespace

CWinApp::CWinApp(const char* appName) : m_pszAppName(appName != nullptr ? appName : "sifteron") {
    if (g_app == nullptr)
        g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::Run() {
    WindowBackend* backend = GetWindowBackend();
    int code = backend != nullptr ? backend->RunMessageLoop() : 0;
    return ExitInstance(code);
}

int CWinApp::ExitInstance(int exitCode) {
    return exitCode;
}

void CWinApp::SetDialogBkColor(COLORREF background, COLORREF text) {
    if (WindowBackend* backend = GetWindowBackend())
        backend->SetDialogColors(background, text);
}

CWinApp* AfxGetApp() {
    return g_app;
}

void AfxThrowResourceException(const std::string& what) {
    throw CResourceException(what);
}

int AfxWinMain(int showCommand) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        std::fprintf(stderr, "sifteron: no application object\n");
        return 1;
    }
    app->m_nCmdShow = showCommand;
    try {
        if (!app->InitInstance())
            return app->ExitInstance(1);
    } catch (const CResourceException& failure) {
        std::string text = "Cannot start: " + failure.What();
        std::fprintf(stderr, "%s: %s\n", app->m_pszAppName, text.c_str());
        MessageBoxA(nullptr, text.c_str(), kFatalCaption, MB_OK);
        return app->ExitInstance(1);
    }
    return app->Run();
}

BOOL ShowWindow(HWND hwnd, int showCommand) {
    WindowBackend* backend = GetWindowBackend();
    if (hwnd == nullptr || backend == nullptr)
        return FALSE;
    BOOL wasVisible = backend->IsWindowVisible(hwnd);
    backend->ShowWindow(hwnd, showCommand);
    return wasVisible;
}

void PostQuitMessage(int exitCode) {
    if (WindowBackend* backend = GetWindowBackend())
        backend->PostQuitMessage(exitCode);
}

void SetInterfaceLanguage(const std::string& languageCode) {
    if (WindowBackend* backend = GetWindowBackend())
        backend->SetInterfaceLanguage(languageCode);
}

}  // namespace sif
