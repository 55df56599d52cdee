// The window program: a Qt application hosting the framework, which starts
// the registered application object.
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "platform/framework/win_app.h"
#include "platform/process.h"
#include "platform/qt/qt_window_backend.h"
#include "platform/qt/termination.h"

namespace {

// Qt aborts when it cannot reach a display; say so plainly instead.
bool HaveDisplay() {
    auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char** argv) {
    sif::EnsureStandardStreams();
    sif::IgnoreFileSizeSignal();
    sif::qt::InstallTerminationSignals();
    if (!HaveDisplay()) {
        std::fprintf(stderr,
                     "sifteron: no display (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                     "Start it inside a desktop session, or use sifteron-cli.\n");
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    sif::qt::QtWindowBackend backend;
    sif::ScopedWindowBackend installed(backend);
    sif::qt::WatchTerminationSignals();
    return sif::AfxWinMain(sif::SW_SHOWNORMAL);
}
