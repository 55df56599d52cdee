// The harness's own guard: a modal window that no handler of a test takes is
// closed once the watcher's time is up, so that the test fails instead of
// hanging in the window's loop.
#include <QMessageBox>
#include <QTest>

#include "tests/qt/qt_harness.h"

namespace sif::test {

class HarnessTest : public QObject {
    Q_OBJECT

  private slots:
    void anUntakenModalWindowIsClosedAtTheDeadline() {
        ModalWatcher watcher([](QWidget&) { return false; }, 200);
        QMessageBox box(QMessageBox::NoIcon, "Meldung", "nobody answers", QMessageBox::Ok);
        box.exec();
        QVERIFY(!watcher.handled());
    }
};

}  // namespace sif::test

QTEST_MAIN(sif::test::HarnessTest)
#include "harness_test.moc"
