#include "platform/qt/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace sif::qt {

QtTranslations::QtTranslations()
    : QtTranslations(QLibraryInfo::path(QLibraryInfo::TranslationsPath)) {}

QtTranslations::QtTranslations(QString folder) : folder_(std::move(folder)) {}

QtTranslations::~QtTranslations() {
    QLocale::setDefault(QLocale::system());
}

bool QtTranslations::Use(const QString& languageCode) {
    if (installed_ && translator_.language() == languageCode)
        return true;
    if (installed_) {
        QCoreApplication::removeTranslator(&translator_);
        installed_ = false;
    }
    // Only the widgets' module is used: its catalogue alone will do.
    if (languageCode != u"en" &&
        translator_.load(QStringLiteral("qtbase_") + languageCode, folder_)) {
        installed_ = QCoreApplication::installTranslator(&translator_);
    }
    const bool served = installed_ || languageCode == u"en";
    // Texts Qt takes from elsewhere, such as the file dialog's file types,
    // follow the default locale.
    QLocale::setDefault(QLocale(served ? languageCode : QStringLiteral("en")));
    return served;
}

}  // namespace sif::qt
