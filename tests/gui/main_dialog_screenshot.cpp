// Renders the dialogs to screenshots/ in the build tree, for a look by eye
// beside templates 101, 100 and 104: main-de.png as the program opens,
// main-en.png after one language toggle, info-de.png and info-en.png. Not a
// test: the build target "screenshots" runs it.
#include <QDir>
#include <QTest>

#include "engine/language.h"
#include "platform/framework/win_app.h"
#include "tests/gui/gui_harness.h"
#include "ui/control_ids.h"
#include "ui/info_dlg.h"

namespace sif::test {
namespace {

QString Shot(const char* name) {
    QDir().mkpath(SIF_SCREENSHOT_DIR);
    return QString(SIF_SCREENSHOT_DIR) + "/" + name;
}

}  // namespace

class MainDialogScreenshot : public QObject {
    Q_OBJECT

  private slots:
    void init() { g_bEnglish = 0; }
    void cleanup() { g_bEnglish = 0; }

    void rendersMainDialog() {
        GuiHarness gui;
        gui.OpenMainDialog();
        QVERIFY(QTest::qWaitForWindowActive(gui.Window()));
        QVERIFY(gui.Window()->grab().save(Shot("main-de.png")));
        gui.Click(ui::IDC_LANGUAGE);
        gui.Control(ui::IDC_SOURCE)->setFocus();
        QVERIFY(gui.Window()->grab().save(Shot("main-en.png")));
    }

    void rendersInformationBoxes() {
        GuiHarness gui;
        gui.UseRealModalLoops();
        gui.OpenMainDialog();
        CWinApp app;
        app.m_pMainWnd = &gui.dialog();
        for (bool english : {false, true}) {
            QString file = Shot(english ? "info-en.png" : "info-de.png");
            bool saved = false;
            ModalWatcher watcher([&](QWidget& box) {
                saved = box.grab().save(file);
                QTest::keyClick(&box, Qt::Key_Escape);
                return true;
            });
            if (english) {
                CInfoDlgEn().DoModal();
            } else {
                CInfoDlg().DoModal();
            }
            QVERIFY2(watcher.handled() && saved, qPrintable("cannot render " + file));
        }
    }
};

}  // namespace sif::test

QTEST_MAIN(sif::test::MainDialogScreenshot)
#include "main_dialog_screenshot.moc"
