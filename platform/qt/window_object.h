// What a window handle stands for in the Qt backend.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "platform/win_types.h"

namespace sif::qt {

class DialogWindow;

// What a handle stands for here.
struct WindowObject {
    QPointer<QWidget> widget;
    qt::DialogWindow* dialog = nullptr;  // the dialog it belongs to (itself for a dialog)
    int id = -1;                         // control id; -1 for dialogs and unnamed controls
    QString className;                   // "Button", "Edit", "Static"; empty for dialogs
    unsigned style = 0;
    QString prefixedText;  // static texts: the text as given, '&' prefixes included
};

// Handles are the objects' addresses.
inline HWND HandleOf(WindowObject* object) {
    return reinterpret_cast<HWND>(object);
}
inline WindowObject* ObjectOf(HWND hwnd) {
    return reinterpret_cast<WindowObject*>(hwnd);
}

// The widget behind a handle, or null.
inline QWidget* WidgetOf(HWND hwnd) {
    return hwnd != nullptr ? ObjectOf(hwnd)->widget.data() : nullptr;
}

// The dialog a handle belongs to (itself for a dialog), or null.
inline DialogWindow* DialogOf(HWND hwnd) {
    return hwnd != nullptr ? ObjectOf(hwnd)->dialog : nullptr;
}

}  // namespace sif::qt
