// Brings a top-level window to the front where the platform can.
#pragma once

#include <QGuiApplication>
#include <QWidget>

namespace sif::qt {

inline void RaiseWindow(QWidget* window) {
    // The headless platforms have no stacking and warn on every raise.
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal")) {
        window->raise();
    }
}

}  // namespace sif::qt
