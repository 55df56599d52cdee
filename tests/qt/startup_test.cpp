// Start-up through the framework: the application object creates and shows
// the main dialog; a missing resource is a clear fatal error, not a crash.
#include <QTest>

#include "engine/language.h"
#include "platform/framework/win_app.h"
#include "tests/qt/qt_harness.h"
#include "ui/control_ids.h"
#include "ui/filter_app.h"

namespace sif::test {
namespace {

// An application whose start-up needs a bitmap the resources lack.
class MissingBitmapApp : public CWinApp {
  public:
    BOOL InitInstance() override {
        CBitmapButton button;
        if (!button.LoadBitmaps("Up", "NoSuchBitmap", "Focus")) {
            AfxThrowResourceException("bitmap \"NoSuchBitmap\" is missing");
        }
        return TRUE;
    }
};

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

  private slots:
    void applicationCreatesAndShowsTheMainDialog() {
        GuiHarness gui;  // backend and box recorder
        CFilterApp app;
        QCOMPARE(AfxGetApp(), static_cast<CWinApp*>(&app));
        app.m_nCmdShow = SW_SHOWNORMAL;
        QVERIFY(app.InitInstance());
        CWnd* main = app.m_pMainWnd;
        QVERIFY(main != nullptr && main->GetSafeHwnd() != nullptr);
        QVERIFY(main->IsWindowVisible());
        QCOMPARE(main->IsDlgButtonChecked(ui::IDC_MODE_POSITIVE), 1u);
        // Closing posts the quit message with 0; the loop then returns it.
        main->OnCmdMsg(IDCANCEL, BN_CLICKED);
        QVERIFY(main->GetSafeHwnd() == nullptr);
        QVERIFY(gui.backend().QuitPosted());
        QCOMPARE(app.Run(), 0);
        QVERIFY(gui.boxes().boxes().empty());
        delete main;  // the program itself leaves it to the process end
    }

    void startShowStateReachesTheWindow() {
        GuiHarness gui;
        CFilterApp app;
        app.m_nCmdShow = SW_HIDE;
        QVERIFY(app.InitInstance());
        QVERIFY(!app.m_pMainWnd->IsWindowVisible());
        app.m_pMainWnd->DestroyWindow();
        delete app.m_pMainWnd;
    }

    void everyNeededStringIsThere() { QCOMPARE(FirstMissingString(), 0u); }

    void bitmapLoadingReportsMissingNames() {
        CBitmapButton button;
        QVERIFY(button.LoadBitmaps("up", "DOWN", "Focus"));  // names ignore case
        QCOMPARE(button.GetUpBitmapInfo().width, 64);
        QCOMPARE(button.GetUpBitmapInfo().height, 40);
        QVERIFY(!button.LoadBitmaps("Up", "Nope"));
        QVERIFY(!button.LoadBitmaps(nullptr));  // the up bitmap is the one it needs
        QVERIFY(button.LoadBitmaps("CUp"));
    }

    void missingResourceIsAFatalStartupError() {
        GuiHarness gui;
        MissingBitmapApp app;
        QCOMPARE(AfxGetApp(), static_cast<CWinApp*>(&app));
        QCOMPARE(AfxWinMain(SW_SHOWNORMAL), 1);
        QCOMPARE(
            gui.boxes().Lines(),
            std::vector<std::string>{"Sifteron: Cannot start: bitmap \"NoSuchBitmap\" is missing"});
        QVERIFY(gui.boxes().boxes()[0].owner == nullptr);
    }
};

}  // namespace sif::test

QTEST_MAIN(sif::test::StartupTest)
#include "startup_test.moc"
