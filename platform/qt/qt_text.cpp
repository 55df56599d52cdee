#include "platform/qt/qt_text.h"

#include "platform/framework/code_page.h"

namespace sif::qt {

QString FromCp1252(const std::string& text) {
    return QString::fromStdString(Cp1252ToUtf8(text));
}

std::string ToCp1252(const QString& text, bool* exact) {
    return Utf8ToCp1252(text.toStdString(), exact);
}

QString WithoutPrefixMarks(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'&' && i + 1 < text.size())
            ++i;
        shown += text[i];
    }
    return shown;
}

}  // namespace sif::qt
