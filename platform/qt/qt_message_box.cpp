#include "platform/qt/qt_message_box.h"

#include <QMessageBox>

#include "platform/qt/qt_text.h"
#include "platform/win_types.h"

namespace sif::qt {

int ShowQtMessageBox(QWidget* owner, const char* text, const char* caption) {
    QMessageBox box(QMessageBox::NoIcon, FromCp1252(caption != nullptr ? caption : ""),
                    FromCp1252(text != nullptr ? text : ""), QMessageBox::Ok, owner);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return IDOK;
}

}  // namespace sif::qt
