#include "platform/qt/qt_message_sink.h"

#include <QMessageBox>

#include "platform/qt/qt_text.h"
#include "platform/qt/window_object.h"

namespace sif::qt {

int QtMessageSink::Show(HWND owner, const char* text, const char* caption, UINT) {
    // An OK button, no icon, the caption and text given.
    QMessageBox box(QMessageBox::NoIcon, FromCp1252(caption != nullptr ? caption : ""),
                    FromCp1252(text != nullptr ? text : ""), QMessageBox::Ok, WidgetOf(owner));
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return IDOK;
}

}  // namespace sif::qt
