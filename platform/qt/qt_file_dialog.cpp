#include "platform/qt/qt_file_dialog.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>

#include "platform/qt/qt_text.h"

namespace sif::qt {

QStringList NameFilters(const OpenFileRequest& request) {
    QStringList filters;
    for (const FileFilter& filter : request.filters) {
        filters << QString("%1 (%2)").arg(FromCp1252(filter.name), FromCp1252(filter.pattern));
    }
    return filters;
}

std::optional<std::string> ChooseFileWithQt(const OpenFileRequest& request,
                                            const QPalette& palette) {
    // No owner: the main dialog stays usable while this one is open.
    QFileDialog dialog(nullptr, QString(), QDir::currentPath());
    dialog.setPalette(palette);
    // Qt's own dialog: a desktop's native one speaks the desktop's language
    // and colours, not the program's.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    QStringList filters = NameFilters(request);
    dialog.setNameFilters(filters);
    int index = request.filterIndex - 1;
    if (index >= 0 && index < filters.size())
        dialog.selectNameFilter(filters[index]);
    dialog.setWindowModality(Qt::NonModal);

    QEventLoop loop;
    bool accepted = false;
    QObject::connect(&dialog, &QDialog::finished, &loop, [&](int result) {
        accepted = result == QDialog::Accepted;
        loop.quit();
    });
    dialog.show();
    loop.exec(QEventLoop::DialogExec);
    if (!accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    QString chosen =
        QDir::cleanPath(QDir(QDir::currentPath()).absoluteFilePath(dialog.selectedFiles().first()));
    return QFile::encodeName(chosen).toStdString();
}

}  // namespace sif::qt
