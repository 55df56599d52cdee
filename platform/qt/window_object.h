// What a window handle points to in the Qt backend.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "platform/win_types.h"

namespace sif::qt {
class DialogWindow;
}

namespace sif {

struct WindowObject {
    QPointer<QWidget> widget;
    qt::DialogWindow* dialog = nullptr;  // the dialog it belongs to (itself for a dialog)
    int id = -1;                         // control id; -1 for dialogs and unnamed controls
    QString className;                   // "Button", "Edit", "Static"; empty for dialogs
    unsigned style = 0;
    QString prefixedText;  // static texts: the text as given, '&' prefixes included
};

namespace qt {

// The widget behind a handle, or null.
inline QWidget* WidgetOf(HWND hwnd) {
    return hwnd != nullptr ? hwnd->widget.data() : nullptr;
}

}  // namespace qt
}  // namespace sif
