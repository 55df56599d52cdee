#include "platform/framework/window_backend.h"

#include "platform/message_box.h"
#include "platform/stderr_message_sink.h"

namespace sif {
namespace {

WindowBackend* g_backend = nullptr;

// Boxes go to the installed backend; once it is gone, a sink that still
// points here falls back to stderr lines.
class BackendMessageSink : public MessageBoxSink {
  public:
    int Show(HWND owner, const char* text, const char* caption, UINT type) override {
        if (g_backend == nullptr)
            return stderrLines_.Show(owner, text, caption, type);
        return g_backend->ShowMessageBox(owner, text, caption, type);
    }

  private:
    StderrMessageSink stderrLines_;
};

BackendMessageSink g_backendBoxes;
MessageBoxSink* g_sinkBefore = nullptr;

}  // namespace

bool WindowBackend::IsWindowTextExact(HWND) const {
    return true;
}

std::string WindowBackend::GetWindowFileName(HWND window) const {
    return GetWindowTextA(window);
}

void WindowBackend::SetWindowFileName(HWND window, const std::string& fileName) {
    SetWindowTextA(window, fileName);
}

void WindowBackend::SetButtonBitmaps(HWND, const ButtonBitmaps&) {}

void WindowBackend::FocusFirstTabStop(HWND) {}

void WindowBackend::SetDialogColors(COLORREF, COLORREF) {}

void WindowBackend::SetInterfaceLanguage(const std::string&) {}

int WindowBackend::RunMessageLoop() {
    return postedQuitCode_;
}

void WindowBackend::PostQuitMessage(int exitCode) {
    postedQuitCode_ = exitCode;
}

void WindowBackend::RunModalLoop(HWND) {}

void WindowBackend::EndModalLoop(HWND) {}

int WindowBackend::ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    return StderrMessageSink().Show(owner, text, caption, type);
}

std::optional<std::string> WindowBackend::ChooseOpenFile(const OpenFileRequest&) {
    return std::nullopt;
}

void SetWindowBackend(WindowBackend* backend) {
    if (backend != nullptr && g_backend == nullptr) {
        g_sinkBefore = SetMessageBoxSink(&g_backendBoxes);
    } else if (backend == nullptr && g_backend != nullptr) {
        SetMessageBoxSink(g_sinkBefore);
        g_sinkBefore = nullptr;
    }
    g_backend = backend;
}

WindowBackend* GetWindowBackend() {
    return g_backend;
}

}  // namespace sif
