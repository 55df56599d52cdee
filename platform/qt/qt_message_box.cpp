#include "platform/qt/qt_message_box.h"

#include <QAbstractButton>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

#include "platform/qt/qt_text.h"
#include "platform/win_types.h"

namespace sif::qt {
namespace {

// What a title bar holds beside the caption, in lines of its font: the
// window icon and up to three buttons, on both sides where the caption is
// centred.
constexpr int kTitleBarAllowanceLines = 8;

}  // namespace

int MinimumBoxWidth(const QString& caption) {
    QFontMetrics title(QFontDatabase::systemFont(QFontDatabase::TitleFont));
    return title.horizontalAdvance(caption) + kTitleBarAllowanceLines * title.height();
}

int ShowQtMessageBox(QWidget* owner, const char* text, const char* caption, const QPalette& palette,
                     const QFont& font) {
    const QString title = FromCp1252(caption != nullptr ? caption : "");
    QMessageBox box(QMessageBox::NoIcon, title, FromCp1252(text != nullptr ? text : ""),
                    QMessageBox::Ok, owner);
    box.setPalette(palette);
    box.setFont(font);
    // Some desktop styles put their icons on dialog buttons.
    for (QAbstractButton* button : box.buttons())
        button->setIcon(QIcon());
    // The box sizes itself to its text when shown; a row as wide as the
    // caption needs keeps it from shrinking below that.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(MinimumBoxWidth(title), 0, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    return IDOK;
}

}  // namespace sif::qt
