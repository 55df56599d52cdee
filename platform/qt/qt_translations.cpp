#include "platform/qt/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace sif::qt {

QtTranslations::QtTranslations()
    : QtTranslations(QLibraryInfo::path(QLibraryInfo::TranslationsPath)) {}

QtTranslations::QtTranslations(QString folder) : folder_(std::move(folder)) {}

bool QtTranslations::Use(const QString& languageCode) {
    if (installed_ && translator_.language() == languageCode)
        return true;
    if (installed_) {
        QCoreApplication::removeTranslator(&translator_);
        installed_ = false;
    }
    if (languageCode == u"en")
        return true;
    // Only the widgets' module is used: its catalogue alone will do.
    if (!translator_.load(QStringLiteral("qtbase_") + languageCode, folder_))
        return false;
    installed_ = QCoreApplication::installTranslator(&translator_);
    return installed_;
}

}  // namespace sif::qt
