// The information boxes in a real modal loop: which one opens per language,
// what they show, the three ways to close them, and the main dialog usable
// and unchanged afterwards.
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QTest>

#include "engine/language.h"
#include "platform/framework/win_app.h"
#include "platform/qt/dialog_window.h"
#include "tests/qt/qt_harness.h"
#include "tests/support/dialog_expectations.h"
#include "ui/control_ids.h"
#include "ui/info_dlg.h"

namespace sif::test {
namespace {

using namespace ui;

// What the open box showed, seen from inside its modal loop.
struct SeenBox {
    QString title;
    std::vector<std::string> lines;
    QSize iconSize;
    QPoint iconPos;
    bool mainEnabled = true;
    bool mainControlsDrawnEnabled = false;
    int languageAfterClick = -1;
    QSize size;
    DialogBaseUnits base{0, 0};
};

// Records the open box, then closes it the given way.
void RecordAndClose(qt::QtWindowBackend& backend, HWND main, const QString& how,
                    qt::DialogWindow& box, SeenBox* seen) {
    seen->title = box.windowTitle();
    seen->mainEnabled = backend.IsWindowEnabled(main);
    seen->mainControlsDrawnEnabled = qt::WidgetOf(main)->isEnabled();
    // A click on the waiting main dialog goes nowhere.
    QTest::mouseClick(qt::WidgetOf(backend.GetDlgItem(main, IDC_LANGUAGE)), Qt::LeftButton);
    seen->languageAfterClick = g_bEnglish;
    seen->size = box.size();
    seen->base = box.BaseUnits();
    QWidget* button = nullptr;
    for (HWND item : box.Items()) {
        if (auto* label = qobject_cast<QLabel*>(qt::WidgetOf(item));
            label && label->pixmap().width() > 0) {
            seen->iconSize = label->size();
            seen->iconPos = label->pos();
            continue;
        }
        seen->lines.push_back(backend.GetWindowTextA(item));
        if (qt::ObjectOf(item)->id == IDOK)
            button = qt::WidgetOf(item);
    }
    if (how == "button")
        QTest::mouseClick(button, Qt::LeftButton);
    if (how == "escape")
        QTest::keyClick(&box, Qt::Key_Escape);
    if (how == "close")
        box.close();
}

}  // namespace

class InfoDialogTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<MainDialogSession> session_;

  private slots:
    void init() { session_ = std::make_unique<MainDialogSession>(); }
    void cleanup() { session_.reset(); }

    void languageChoosesTheBox() {
        session_->gui().Click(IDC_INFO);
        session_->gui().Click(IDC_LANGUAGE);
        session_->gui().Click(IDC_INFO);
        session_->gui().Click(IDC_LANGUAGE);
        session_->gui().Click(IDC_INFO);
        QCOMPARE(session_->gui().modalTemplates(),
                 (std::vector<unsigned>{IDD_INFO, IDD_INFO_EN, IDD_INFO}));
    }

    void boxShowsItsTemplateAndClosesThreeWays_data() {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("result");
        for (bool english : {false, true}) {
            const char* lang = english ? "English" : "German";
            QTest::addRow("%s, button", lang) << english << "button" << IDOK;
            QTest::addRow("%s, Escape", lang) << english << "escape" << IDCANCEL;
            QTest::addRow("%s, close box", lang) << english << "close" << IDCANCEL;
        }
    }
    void boxShowsItsTemplateAndClosesThreeWays() {
        QFETCH(bool, english);
        QFETCH(QString, how);
        QFETCH(int, result);
        session_->gui().UseRealModalLoops();
        session_->gui().SetText(IDC_SOURCE, "a.txt");
        session_->gui().SetText(IDC_LEFT, "<");
        session_->gui().Click(IDC_MODE_NEGATIVE);
        auto fields = [&] { return session_->gui().dialog().ReadRequest(); };
        ExtractRequest before = fields();

        CWinApp app;  // the main window owns boxes opened without a parent
        app.m_pMainWnd = &session_->gui().dialog();
        SeenBox seen;
        ModalWatcher watcher([&](QWidget& modal) {
            auto* box = dynamic_cast<qt::DialogWindow*>(&modal);
            if (box != nullptr)
                RecordAndClose(session_->gui().backend(), session_->gui().dialog().GetSafeHwnd(),
                               how, *box, &seen);
            return box != nullptr;
        });
        INT64 answer = english ? CInfoDlgEn().DoModal() : CInfoDlg().DoModal();
        QVERIFY2(watcher.handled(), "no box opened within 10 s");
        QCOMPARE(answer, INT64(result));
        QCOMPARE(seen.title, QString("Sifteron Information"));
        QCOMPARE(seen.lines, english ? kInfoEnglishLines : kInfoGermanLines);
        QCOMPARE(seen.iconSize, QSize(32, 32));
        QCOMPARE(seen.iconPos,
                 QPoint(MulDiv(kInfoIconX, seen.base.cx, 4), MulDiv(kInfoIconY, seen.base.cy, 8)));
        RECT client = MapDialogRect(0, 0, kInfoWidth,
                                    english ? kInfoEnglishHeight : kInfoGermanHeight, seen.base);
        QCOMPARE(seen.size, QSize(client.Width(), client.Height()));
        QVERIFY(!seen.mainEnabled);              // owned by the main dialog, which waits
        QVERIFY(seen.mainControlsDrawnEnabled);  // without greying its controls
        QCOMPARE(seen.languageAfterClick, 0);

        QVERIFY(session_->gui().dialog().IsWindowEnabled());
        ExtractRequest after = fields();
        QCOMPARE(after.szSource, before.szSource);
        QCOMPARE(QByteArray(after.szLeft), QByteArray(before.szLeft));
        QCOMPARE(int(after.nMode), int(ModeNegative));
        QVERIFY(session_->gui().Window()->isVisible());
        QVERIFY(!session_->gui().backend().QuitPosted());
    }

    void infoButtonRunsTheBoxModally() {
        session_->gui().UseRealModalLoops();
        session_->gui().Click(IDC_LANGUAGE);
        SeenBox seen;
        ModalWatcher watcher([&](QWidget& modal) {
            auto* box = dynamic_cast<qt::DialogWindow*>(&modal);
            if (box != nullptr)
                RecordAndClose(session_->gui().backend(), session_->gui().dialog().GetSafeHwnd(),
                               "escape", *box, &seen);
            return box != nullptr;
        });
        session_->gui().Click(IDC_INFO);
        QVERIFY2(watcher.handled(), "no box opened within 10 s");
        QCOMPARE(seen.lines.front(), kInfoEnglishLines.front());
        QVERIFY(session_->gui().dialog().IsWindowEnabled());
    }
};

}  // namespace sif::test

QTEST_MAIN(sif::test::InfoDialogTest)
#include "info_dialog_test.moc"
