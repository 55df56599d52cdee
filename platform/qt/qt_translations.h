// Qt's own texts (standard buttons, the file dialog, the edit fields' context
// menu) in the interface language, from Qt's installed translations; the
// default locale goes with them.
#pragma once

#include <QString>
#include <QTranslator>

namespace sif::qt {

class QtTranslations {
  public:
    // Translations from Qt's own folder.
    QtTranslations();
    explicit QtTranslations(QString folder);
    // Qt's texts back in English, the default locale back to the system's.
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // Qt's texts in `languageCode` ("de"), or in Qt's source language,
    // English, for "en" and for a language without an installed
    // translation. True when they now speak `languageCode`.
    bool Use(const QString& languageCode);

  private:
    QString folder_;
    QTranslator translator_;
    bool installed_ = false;
};

}  // namespace sif::qt
