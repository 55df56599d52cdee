// The Qt message boxes: application-modal whether owned or not, an OK
// button, no icon, caption and text converted from the single-byte code page.
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "tests/gui/gui_harness.h"

namespace sif::test {

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
};

}  // namespace sif::test

QTEST_MAIN(sif::test::MessageBoxTest)
#include "message_box_test.moc"
