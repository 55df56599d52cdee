// The file-open dialog as Qt's own file dialog, without an owner window.
#pragma once

#include <QPalette>
#include <QStringList>
#include <optional>
#include <string>

#include "platform/framework/file_dialog.h"

namespace sif::qt {

// The chosen file's full path in the file-name encoding; nothing on cancel.
// The dialog is painted with `palette`.
std::optional<std::string> ChooseFileWithQt(const OpenFileRequest& request,
                                            const QPalette& palette);

// "Text (*.txt)" and so on, in order.
QStringList NameFilters(const OpenFileRequest& request);

}  // namespace sif::qt
