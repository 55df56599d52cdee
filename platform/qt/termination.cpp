#include "platform/qt/termination.h"

#include <fcntl.h>
#include <unistd.h>
#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>

#include "platform/framework/win_app.h"
#include "platform/framework/window_backend.h"
#include "platform/framework/wnd.h"
#include "platform/qt/dialog_window.h"
#include "platform/window_styles.h"

namespace sif::qt {
namespace {

int g_pipe[2] = {-1, -1};

void OnSignal(int) {
    char byte = 1;
    // Async-signal-safe; a full pipe already holds a pending close.
    [[maybe_unused]] ssize_t written = write(g_pipe[1], &byte, 1);
}

void CloseMainWindow() {
    // Not while a box or modal dialog of a handler is open: the handler is
    // still running on the stack below it. A modal dialog of ours is closed
    // first, as its close box would; a message box of a run is waited for.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        if (auto* dialog = dynamic_cast<DialogWindow*>(modal)) {
            DispatchCommand(dialog->Handle(), IDCANCEL, BN_CLICKED);
        }
        QTimer::singleShot(200, qApp, CloseMainWindow);
        return;
    }
    CWinApp* app = AfxGetApp();
    CWnd* main = app != nullptr ? app->m_pMainWnd : nullptr;
    if (main != nullptr && main->GetSafeHwnd() != nullptr) {
        DispatchCommand(main->GetSafeHwnd(), IDCANCEL, BN_CLICKED);
    } else {
        PostQuitMessage(0);
    }
}

}  // namespace

void InstallTerminationSignals() {
    if (pipe(g_pipe) != 0)
        return;
    for (int fd : g_pipe) {
        fcntl(fd, F_SETFD, FD_CLOEXEC);
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        sigaction(sig, &action, nullptr);
}

void WatchTerminationSignals() {
    if (g_pipe[0] < 0)
        return;
    auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, [] {
        char bytes[16];
        while (read(g_pipe[0], bytes, sizeof bytes) > 0) {
        }
        CloseMainWindow();
    });
}

}  // namespace sif::qt
