// The Qt message boxes: application-modal whether owned or not, an OK
// button, no icon, caption and text converted from the single-byte code
// page; in the dialogs' look, and never narrower than their caption needs.
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QTest>

#include "platform/qt/qt_message_box.h"
#include "tests/qt/qt_harness.h"

namespace sif::test {
namespace {

// A desktop style of the kind that puts icons on dialog buttons.
class IconButtonsStyle : public QProxyStyle {
  public:
    IconButtonsStyle() : QProxyStyle("Fusion") {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

}  // namespace

class MessageBoxTest : public QObject {
    Q_OBJECT

  private slots:
    void boxesAreApplicationModalWithOneOkButton_data() {
        QTest::addColumn<bool>("owned");
        QTest::newRow("owned by the main dialog") << true;
        QTest::newRow("without owner") << false;
    }
    void boxesAreApplicationModalWithOneOkButton() {
        QFETCH(bool, owned);
        GuiHarness gui;
        gui.OpenMainDialog();

        struct Seen {
            Qt::WindowModality modality = Qt::NonModal;
            QString title, text;
            QMessageBox::Icon icon = QMessageBox::Information;
            int buttons = 0;
        } seen;
        ModalWatcher watcher([&](QWidget& modal) {
            auto* box = qobject_cast<QMessageBox*>(&modal);
            if (box == nullptr)
                return false;
            seen.modality = box->windowModality();
            seen.title = box->windowTitle();
            seen.text = box->text();
            seen.icon = box->icon();
            seen.buttons = box->buttons().size();
            box->button(QMessageBox::Ok)->click();
            return true;
        });
        HWND owner = owned ? gui.dialog().GetSafeHwnd() : nullptr;
        QCOMPARE(gui.backend().ShowMessageBox(owner,
                                              "Gr\xF6\xDF"
                                              "e \x80",
                                              "Meldung", MB_OK),
                 IDOK);
        QVERIFY2(watcher.handled(), "no message box opened within 10 s");
        QCOMPARE(seen.modality, Qt::ApplicationModal);
        QCOMPARE(seen.title, QString("Meldung"));
        QCOMPARE(seen.text, QString::fromUtf8("Gr\xC3\xB6\xC3\x9F"
                                              "e \xE2\x82\xAC"));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.buttons, 1);
    }

    void boxesTakeTheDialogsLook_data() {
        QTest::addColumn<bool>("owned");
        QTest::addColumn<QByteArray>("caption");
        QTest::newRow("owned, short caption") << true << QByteArray("Meldung");
        QTest::newRow("without owner, short caption") << false << QByteArray("Fehlermeldung");
        QTest::newRow("without owner, caption wider than the text")
            << false
            << QByteArray(
                   "Eine \xDC"
                   "berschrift, viel breiter als der Text der Meldung");
    }
    void boxesTakeTheDialogsLook() {
        QFETCH(bool, owned);
        QFETCH(QByteArray, caption);
        const QPalette desktop = QApplication::palette();
        QPalette dark(QColor(50, 50, 50), QColor(40, 40, 40));
        QApplication::setPalette(dark);
        GuiHarness gui;
        gui.OpenMainDialog();
        QApplication::setStyle(new IconButtonsStyle);  // after the backend chose its style

        struct Seen {
            QColor window, text, button;
            QFont font;
            bool buttonIcon = true;
            int width = 0;
        } seen;
        ModalWatcher watcher([&](QWidget& modal) {
            auto* box = qobject_cast<QMessageBox*>(&modal);
            if (box == nullptr)
                return false;
            seen.window = box->palette().color(QPalette::Window);
            seen.text = box->palette().color(QPalette::WindowText);
            seen.button = box->button(QMessageBox::Ok)->palette().color(QPalette::Button);
            seen.font = box->font();
            seen.buttonIcon = !box->button(QMessageBox::Ok)->icon().isNull();
            seen.width = box->width();
            box->button(QMessageBox::Ok)->click();
            return true;
        });
        HWND owner = owned ? gui.dialog().GetSafeHwnd() : nullptr;
        gui.backend().ShowMessageBox(owner, "ok", caption.constData(), MB_OK);
        QApplication::setPalette(desktop);
        QVERIFY2(watcher.handled(), "no message box opened within 10 s");
        QCOMPARE(seen.window, QColor(0xC0, 0xC0, 0xC0));
        QCOMPARE(seen.button, QColor(0xC0, 0xC0, 0xC0));
        QCOMPARE(seen.text, QColor(Qt::black));
        const QFont dialogFont = gui.Window()->font();
        QCOMPARE(seen.font.family(), dialogFont.family());
        QCOMPARE(seen.font.pixelSize(), dialogFont.pixelSize());
        QVERIFY2(!seen.buttonIcon, "the OK button shows the style's icon");
        const int needed = qt::MinimumBoxWidth(QString::fromLatin1(caption));
        QVERIFY2(
            seen.width >= needed,
            qPrintable(QString("%1 px wide, the caption needs %2").arg(seen.width).arg(needed)));
    }
};

}  // namespace sif::test

QTEST_MAIN(sif::test::MessageBoxTest)
#include "message_box_test.moc"
