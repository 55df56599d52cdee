// The file-open dialog as Qt's own file dialog, without an owner window.
#pragma once

#include <QStringList>

#include "platform/framework/file_dialog.h"

namespace sif::qt {

class QtFileDialogSink : public FileDialogSink {
  public:
    std::optional<std::string> ChooseFile(const OpenFileRequest& request) override;
};

// "Text (*.txt)" and so on, in order.
QStringList NameFilters(const OpenFileRequest& request);

}  // namespace sif::qt
