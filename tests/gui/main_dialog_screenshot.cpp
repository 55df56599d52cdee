// Renders the main dialog as it opens to screenshots/main-de.png in the build
// tree, for a look by eye beside template 101.
#include <QDir>
#include <QTest>

#include "tests/gui/gui_harness.h"

namespace sif::test {

class MainDialogScreenshot : public QObject {
    Q_OBJECT

  private slots:
    void rendersMainDialog() {
        GuiHarness harness;
        harness.OpenMainDialog();
        QVERIFY(QTest::qWaitForWindowExposed(harness.Window()));
        QDir().mkpath(SIF_SCREENSHOT_DIR);
        QString file = QString(SIF_SCREENSHOT_DIR) + "/main-de.png";
        QVERIFY(harness.Window()->grab().save(file));
        qInfo("wrote %s", qPrintable(file));
    }
};

}  // namespace sif::test

QTEST_MAIN(sif::test::MainDialogScreenshot)
#include "main_dialog_screenshot.moc"
