// The dialogs keep their light look on a dark desktop: a dark application
// palette, set before the window opens or while it is open, reaches neither
// the main dialog's fields and check boxes nor the file dialog.
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QStyleOptionButton>
#include <QTest>
#include <memory>

#include "tests/qt/qt_harness.h"
#include "ui/control_ids.h"

namespace sif::test {
namespace {

using namespace ui;

const QColor kGrey(0xC0, 0xC0, 0xC0);

// A desktop's dark scheme: light text on dark fields and windows.
QPalette DarkPalette() {
    QPalette dark(QColor(53, 53, 53), QColor(45, 45, 45));
    for (auto role : {QPalette::Base, QPalette::AlternateBase})
        dark.setColor(role, QColor(30, 30, 30));
    for (auto role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        dark.setColor(role, QColor(230, 230, 230));
    return dark;
}

QImage Grab(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// The colour in the middle of a check box's or radio button's mark.
QColor MarkColour(QAbstractButton* button) {
    QStyleOptionButton option;
    option.initFrom(button);
    bool radio = qobject_cast<QCheckBox*>(button) == nullptr;
    QRect mark = button->style()->subElementRect(
        radio ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &option, button);
    return Grab(button).pixelColor(mark.center());
}

}  // namespace

class LightLookTest : public QObject {
    Q_OBJECT

  private:
    QPalette desktop_;

  private slots:
    void init() { desktop_ = QApplication::palette(); }
    void cleanup() { QApplication::setPalette(desktop_); }

    void fieldsAndCheckBoxesStayLight_data() {
        QTest::addColumn<bool>("darkWhileOpen");
        QTest::newRow("dark before the window opens") << false;
        QTest::newRow("dark while it is open") << true;
    }
    void fieldsAndCheckBoxesStayLight() {
        QFETCH(bool, darkWhileOpen);
        if (!darkWhileOpen)
            QApplication::setPalette(DarkPalette());
        MainDialogSession session;
        GuiHarness& gui = session.gui();
        QVERIFY(QTest::qWaitForWindowExposed(gui.Window()));
        if (darkWhileOpen)
            QApplication::setPalette(DarkPalette());

        QCOMPARE(gui.Window()->palette().color(QPalette::Window), kGrey);
        QCOMPARE(Grab(gui.Window()).pixelColor(2, 2), kGrey);
        QCOMPARE(gui.Control(IDC_LABEL_SOURCE)->palette().color(QPalette::WindowText),
                 QColor(Qt::black));
        for (int id : {IDC_SOURCE, IDC_TARGET, IDC_LEFT, IDC_RIGHT}) {
            QWidget* edit = gui.Control(id);
            QCOMPARE(edit->palette().color(QPalette::Base), QColor(Qt::white));
            QCOMPARE(edit->palette().color(QPalette::Text), QColor(Qt::black));
        }
        QWidget* source = gui.Control(IDC_SOURCE);  // empty: its middle is the field itself
        QCOMPARE(Grab(source).pixelColor(source->width() / 2, source->height() / 2),
                 QColor(Qt::white));
        for (int id : {IDC_MODE_NEGATIVE, IDC_KIND_RESOURCE}) {  // both unchecked
            auto* button = gui.ControlAs<QAbstractButton>(id);
            QCOMPARE(button->palette().color(QPalette::Base), QColor(Qt::white));
            QCOMPARE(button->palette().color(QPalette::WindowText), QColor(Qt::black));
            QColor mark = MarkColour(button);
            QVERIFY2(mark.lightness() > 200,
                     qPrintable(QString("the mark of %1 is dark: %2").arg(id).arg(mark.name())));
        }
    }

    void theFileDialogStaysLight() {
        QApplication::setPalette(DarkPalette());
        MainDialogSession session;
        QColor window, field;
        FileDialogWatcher watcher([&](QFileDialog& dialog) {
            window = dialog.palette().color(QPalette::Window);
            if (auto* list = dialog.findChild<QListView*>("listView"))
                field = list->palette().color(QPalette::Base);
            dialog.reject();
            return true;
        });
        session.gui().Click(IDC_BROWSE_SOURCE);
        QVERIFY2(window.isValid(), "no file dialog opened within 10 s");
        QCOMPARE(window, kGrey);
        QCOMPARE(field, QColor(Qt::white));
    }
};

}  // namespace sif::test

QTEST_MAIN(sif::test::LightLookTest)
#include "light_look_test.moc"
