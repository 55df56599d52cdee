// Renders the dialogs to screenshots/ in the build tree, for a look by eye
// beside templates 101, 100 and 104: main-de.png as the program opens,
// main-en.png after one language toggle, info-de.png and info-en.png; and
// Qt's own dialogs under either interface language: filedialog-de.png,
// filedialog-en.png, messagebox-de.png and messagebox-en.png. Window titles,
// which no picture shows, go to the output. Not a test: the build target
// "screenshots" runs it.
#include <QDeadlineTimer>
#include <QDir>
#include <QFileDialog>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "engine/language.h"
#include "platform/framework/win_app.h"
#include "platform/resources.h"
#include "tests/qt/qt_harness.h"
#include "tests/support/temp_dir.h"
#include "ui/control_ids.h"
#include "ui/info_dlg.h"

namespace sif::test {
namespace {

QString Shot(const char* name) {
    QDir().mkpath(SIF_SCREENSHOT_DIR);
    return QString(SIF_SCREENSHOT_DIR) + "/" + name;
}

std::string Catalogue(UINT id) {
    char text[64];
    LoadStringA(AfxGetResourceHandle(), id, text, sizeof text);
    return text;
}

// Clicks `button` and saves the file dialog it opens once its folder is
// listed (or after 5 s), then cancels it. The dialog's title, or nothing.
QString SaveFileDialog(GuiHarness& gui, int button, const QString& file, bool& saved) {
    QString title;
    QDeadlineTimer listed(5000);
    FileDialogWatcher watcher(
        [&](QFileDialog& dialog) {
            auto* list = dialog.findChild<QListView*>("listView");
            if (list != nullptr && list->model()->rowCount(list->rootIndex()) < 3 &&
                !listed.hasExpired()) {
                return false;
            }
            title = dialog.windowTitle();
            saved = dialog.grab().save(file);
            dialog.reject();
            return true;
        },
        20000);
    gui.Click(button);
    return title;
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

    void rendersQtDialogsInTheInterfaceLanguage() {
        // A folder with two text files and a subfolder, for the file dialog to list.
        TempDir dir;
        ScopedCurrentDir cwd(dir.path());
        WriteBytes(dir.File("Beispiel.txt"), "");
        WriteBytes(dir.File("Liste.txt"), "");
        QDir(QString::fromStdString(dir.path().string())).mkdir("Unterordner");
        for (bool english : {false, true}) {
            GuiHarness gui;
            gui.OpenMainDialog();
            if (english)
                gui.Click(ui::IDC_LANGUAGE);
            const char* language = english ? "en" : "de";

            QString file = Shot(english ? "filedialog-en.png" : "filedialog-de.png");
            bool saved = false;
            QString title = SaveFileDialog(gui, ui::IDC_BROWSE_SOURCE, file, saved);
            QVERIFY2(saved, qPrintable("cannot render " + file));
            qInfo("file dialog (%s): title \"%s\"", language, qPrintable(title));

            file = Shot(english ? "messagebox-en.png" : "messagebox-de.png");
            saved = false;
            ModalWatcher watcher([&](QWidget& modal) {
                auto* box = qobject_cast<QMessageBox*>(&modal);
                if (box == nullptr)
                    return false;
                saved = box->grab().save(file);
                qInfo("message box (%s): title \"%s\", %d x %d px", language,
                      qPrintable(box->windowTitle()), box->width(), box->height());
                box->button(QMessageBox::Ok)->click();
                return true;
            });
            // The notice before a new target file, as a run shows it.
            UINT offset = english ? 20 : 0;
            gui.backend().ShowMessageBox(gui.dialog().GetSafeHwnd(),
                                         Catalogue(3047 + offset).c_str(),
                                         Catalogue(3039 + offset).c_str(), MB_OK);
            QVERIFY2(watcher.handled() && saved, qPrintable("cannot render " + file));
        }
    }
};

}  // namespace sif::test

QTEST_MAIN(sif::test::MainDialogScreenshot)
#include "main_dialog_screenshot.moc"
