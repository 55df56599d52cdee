// The main dialog in-process on the offscreen platform: its defaults, its
// geometry for the font in use, the bitmap buttons, the OK run and the ways
// it closes.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>

#include "engine/language.h"
#include "platform/framework/win_app.h"
#include "platform/qt/dialog_window.h"
#include "tests/qt/qt_harness.h"
#include "tests/support/dialog_expectations.h"
#include "tests/support/temp_dir.h"
#include "ui/control_ids.h"

namespace sif::test {
namespace {

using namespace ui;

bool DirectoryIsEmpty(const std::filesystem::path& dir) {
    return std::filesystem::directory_iterator(dir) == std::filesystem::directory_iterator();
}

QImage Grab(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Answers every box with OK, but the first time also clicks OK again, as a
// click that slipped past the box would.
class ReenteringSink : public RecordingMessageSink {
  public:
    HWND dialog = nullptr;
    int Show(HWND owner, const char* text, const char* caption, UINT type) override {
        if (!reentered_ && dialog != nullptr) {
            reentered_ = true;
            DispatchCommand(dialog, IDOK, BN_CLICKED);
        }
        return RecordingMessageSink::Show(owner, text, caption, type);
    }

  private:
    bool reentered_ = false;
};

}  // namespace

class MainDialogTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<MainDialogSession> session_;

    GuiHarness& gui() { return session_->gui(); }
    TestFilterDlg& dlg() { return session_->gui().dialog(); }
    std::string Text(int id) {
        char buffer[128];
        dlg().GetDlgItemTextA(id, buffer, sizeof buffer);
        return buffer;
    }
    HWND Hwnd() { return dlg().GetSafeHwnd(); }

  private slots:
    void init() {
        session_ = std::make_unique<MainDialogSession>();
        QVERIFY2(QTest::qWaitForWindowActive(session_->gui().Window(), 10000),
                 "the main dialog was not active after 10 s");
    }
    void cleanup() { session_.reset(); }

    void opensWithTheDefaults() {
        QCOMPARE(gui().Window()->windowTitle(), QString("Sifteron"));
        QVERIFY(gui().Window()->isVisible());
        QCOMPARE(dlg().IsDlgButtonChecked(IDC_KIND_RESOURCE), 0u);
        QCOMPARE(dlg().IsDlgButtonChecked(IDC_KIND_TEXT), 1u);
        QCOMPARE(dlg().GetCheckedRadioButton(IDC_MODE_POSITIVE, IDC_MODE_MULTI_NEGATIVE),
                 IDC_MODE_POSITIVE);
        for (int id : {IDC_MODE_NEGATIVE, IDC_MODE_MULTI_POSITIVE, IDC_MODE_MULTI_NEGATIVE}) {
            QCOMPARE(dlg().IsDlgButtonChecked(id), 0u);
        }
        QCOMPARE(Text(IDC_LEFT), std::string("\""));
        QCOMPARE(Text(IDC_RIGHT), std::string("\""));
        QCOMPARE(Text(IDC_SOURCE), std::string());
        QCOMPARE(Text(IDC_TARGET), std::string());
        for (const auto& [id, text] : kTemplateLabels)
            QCOMPARE(Text(id), std::string(text));
    }

    void windowIsFixedWithoutMinMaxBoxes() {
        QWidget* window = gui().Window();
        QCOMPARE(window->minimumSize(), window->maximumSize());
        Qt::WindowFlags flags = window->windowFlags();
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowCloseButtonHint);
    }

    void baseUnitsComeFromTheDialogFont() {
        QWidget* window = gui().Window();
        QFontInfo info(window->font());
        QCOMPARE(info.pixelSize(), 11);  // 8 pt at 96 dpi
        QFontMetrics metrics(window->font());
        DialogBaseUnits expected = BaseUnitsFromFontMetrics(
            metrics.horizontalAdvance("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"),
            metrics.height());
        DialogBaseUnits base = gui().backend().GetDialogBaseUnits(Hwnd());
        QCOMPARE(base.cx, expected.cx);
        QCOMPARE(base.cy, expected.cy);
        QVERIFY(base.cx >= 5 && base.cx <= 8);
        QVERIFY(base.cy >= 12 && base.cy <= 18);
    }

    void controlsSitWhereTemplate101PutsThem() {
        DialogBaseUnits base = gui().backend().GetDialogBaseUnits(Hwnd());
        RECT client = MapDialogRect(0, 0, kMainDialogWidth, kMainDialogHeight, base);
        QCOMPARE(gui().Window()->size(), QSize(client.Width(), client.Height()));

        std::vector<HWND> items = qt::DialogOf(Hwnd())->Items();
        QCOMPARE(items.size(), std::size(kMainDialogControls));
        for (std::size_t i = 0; i < items.size(); ++i) {
            const TemplateControl& c = kMainDialogControls[i];
            QCOMPARE(qt::ObjectOf(items[i])->id, c.id);
            RECT want = MapDialogRect(c.x, c.y, c.w, c.h, base);
            if (c.id == IDOK || c.id == IDCANCEL) {
                want.right = want.left + kBitmapButtonWidth;
                want.bottom = want.top + kBitmapButtonHeight;
            }
            RECT got = gui().backend().GetWindowRect(items[i]);
            QVERIFY2(got == want, qPrintable(QString("control #%1 (id %2): got %3,%4 %5x%6")
                                                 .arg(i + 1)
                                                 .arg(c.id)
                                                 .arg(got.left)
                                                 .arg(got.top)
                                                 .arg(got.Width())
                                                 .arg(got.Height())));
        }
    }

    void bitmapButtonsShowTheirBitmapsUnscaled() {
        QWidget* ok = gui().Control(IDOK);
        auto* okButton = qobject_cast<QAbstractButton*>(ok);
        QWidget* cancel = gui().Control(IDCANCEL);
        // At start the first tab stop, OK, has the focus.
        QCOMPARE(QApplication::focusWidget(), ok);
        QCOMPARE(Grab(ok), BitmapResourceImage("Focus"));

        gui().Control(IDC_SOURCE)->setFocus();
        QCOMPARE(ok->size(), QSize(64, 40));
        QCOMPARE(cancel->size(), QSize(64, 40));
        QCOMPARE(Grab(ok), BitmapResourceImage("Up"));
        QCOMPARE(Grab(cancel), BitmapResourceImage("CUp"));

        okButton->setDown(true);
        QCOMPARE(Grab(ok), BitmapResourceImage("Down"));
        okButton->setDown(false);
        cancel->setFocus();
        QCOMPARE(Grab(cancel), BitmapResourceImage("CFocus"));

        // Cut, not scaled, when the button is smaller than its bitmap.
        cancel->resize(30, 20);
        QCOMPARE(Grab(cancel), BitmapResourceImage("CFocus").copy(0, 0, 30, 20));
    }

    void destroyingAControlLeavesTheDialog() {
        QPointer<QWidget> ok = gui().Control(IDOK);
        QVERIFY(gui().dialog().m_okButton.DestroyWindow());
        QVERIFY(gui().dialog().m_okButton.GetSafeHwnd() == nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(ok.isNull());
        QVERIFY(Hwnd() != nullptr && gui().Window()->isVisible());
        QVERIFY(!gui().backend().QuitPosted());
        gui().Click(IDC_MODE_NEGATIVE);  // the rest still works
        QCOMPARE(dlg().IsDlgButtonChecked(IDC_MODE_NEGATIVE), 1u);
    }

    void dialogIsGreyWithBlackTextAndWhiteEditFields() {
        QWidget* window = gui().Window();
        QCOMPARE(window->palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xC0));
        QCOMPARE(Grab(window).pixelColor(2, 2), QColor(0xC0, 0xC0, 0xC0));
        for (int id : {IDC_LABEL_SOURCE, IDC_MODE_POSITIVE, IDC_KIND_TEXT, IDC_INFO}) {
            QCOMPARE(gui().Control(id)->palette().color(QPalette::WindowText), QColor(Qt::black));
        }
        QWidget* edit = gui().Control(IDC_SOURCE);
        QCOMPARE(edit->palette().color(QPalette::Base), QColor(Qt::white));
        QCOMPARE(edit->palette().color(QPalette::Text), QColor(Qt::black));
    }

    void tabOrderIsTemplateOrder() {
        const int expected[] = {IDCANCEL,          IDC_INFO,          IDC_SOURCE,
                                IDC_TARGET,        IDC_LEFT,          IDC_RIGHT,
                                IDC_BROWSE_SOURCE, IDC_BROWSE_TARGET, IDC_VIEW_SOURCE,
                                IDC_VIEW_TARGET,   IDC_LANGUAGE,      IDOK};
        QCOMPARE(QApplication::focusWidget(), gui().Control(IDOK));
        for (int id : expected) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QVERIFY2(QApplication::focusWidget() == gui().Control(id),
                     qPrintable(QString("expected focus on %1").arg(id)));
        }
    }

    void mnemonicClicksInfo() {
        auto* info = gui().ControlAs<QAbstractButton>(IDC_INFO);
        QSignalSpy clicked(info, &QAbstractButton::clicked);
        QTest::keyClick(gui().Window(), Qt::Key_I, Qt::AltModifier);
        // The shortcut animates the click: it lands a moment later.
        QTRY_VERIFY2_WITH_TIMEOUT(clicked.count() == 1, "Alt+I did not click Info once in 10 s",
                                  10000);
    }

    void kindRadioButtonsFormOneGroup() {
        gui().Click(IDC_KIND_RESOURCE);
        QCOMPARE(dlg().GetCheckedRadioButton(IDC_KIND_RESOURCE, IDC_KIND_TEXT), IDC_KIND_RESOURCE);
        QCOMPARE(dlg().IsDlgButtonChecked(IDC_KIND_TEXT), 0u);
        gui().Click(IDC_KIND_TEXT);
        QCOMPARE(dlg().IsDlgButtonChecked(IDC_KIND_RESOURCE), 0u);
        QCOMPARE(dlg().IsDlgButtonChecked(IDC_KIND_TEXT), 1u);
        // BM_SETCHECK 0 clears a radio button even with no other checked.
        dlg().CheckDlgButton(IDC_KIND_TEXT, 0);
        QCOMPARE(dlg().GetCheckedRadioButton(IDC_KIND_RESOURCE, IDC_KIND_TEXT), 0);
    }

    void manualCheckBoxesNeverChangeByThemselves() {
        gui().Click(IDC_KIND_RESOURCE);  // no handler may check a mode box now
        for (int id : {IDC_MODE_NEGATIVE, IDC_MODE_MULTI_POSITIVE, IDC_MODE_MULTI_NEGATIVE,
                       IDC_MODE_POSITIVE}) {
            gui().Click(id);
        }
        QCOMPARE(dlg().IsDlgButtonChecked(IDC_MODE_POSITIVE), 1u);
        for (int id : {IDC_MODE_NEGATIVE, IDC_MODE_MULTI_POSITIVE, IDC_MODE_MULTI_NEGATIVE}) {
            QCOMPARE(dlg().IsDlgButtonChecked(id), 0u);
        }
    }

    void okRunsTheEngineAndKeepsTheWindowOpen() {
        WriteBytes(session_->dir().File("a.txt"), "x \"abc\" y \"de\"\r\nnone\r\n\"f\"\r\n");
        gui().SetText(IDC_SOURCE, "a.txt");
        gui().SetText(IDC_TARGET, "out.txt");
        gui().Click(IDOK);
        QCOMPARE(ReadBytes(session_->dir().File("out.txt")), std::string("abc\r\nde\r\nf\r\n"));
        std::vector<RecordedBox> want = {
            {"Meldung", "Zieldatei wird neu erzeugt", nullptr},  // from the line operation
            {"Meldung", "Operation abgechlossen", Hwnd()},       // from the run command
        };
        QCOMPARE(gui().boxes().boxes(), want);

        // A second run appends; the window stays and nothing asks to quit.
        gui().boxes().Clear();
        gui().Click(IDOK);
        QCOMPARE(ReadBytes(session_->dir().File("out.txt")),
                 std::string("abc\r\nde\r\nf\r\n").append("abc\r\nde\r\nf\r\n"));
        QCOMPARE(gui().boxes().Lines(),
                 std::vector<std::string>{"Meldung: Operation abgechlossen"});
        QVERIFY(gui().Window()->isVisible());
        QVERIFY(Hwnd() != nullptr);
        QVERIFY(!gui().backend().QuitPosted());
    }

    void typingOutsideTheCodePageReadsAsInexact() {
        // The rules are tested headless; here Qt's own text must say so.
        gui().SetText(IDC_SOURCE, "a.txt");
        gui().SetText(IDC_TARGET, "out.txt");
        gui().Type(IDC_LEFT, QString::fromUtf8("\xE2\x86\x92"));
        QVERIFY(!dlg().IsDlgItemTextExact(IDC_LEFT));
        gui().Type(IDC_LEFT, QString::fromUtf8("\xE2\x82\xAC"));  // euro sign, 0x80
        QVERIFY(dlg().IsDlgItemTextExact(IDC_LEFT));
        char text[8];
        dlg().GetDlgItemTextA(IDC_LEFT, text, sizeof text);
        QCOMPARE(QByteArray(text), QByteArray("\x80"));
    }

    void okWithAnErrorKeepsTheWindowOpen() {
        gui().SetText(IDC_SOURCE, "same.txt");
        gui().SetText(IDC_TARGET, "same.txt");
        gui().Click(IDOK);
        QCOMPARE(gui().boxes().Lines(),
                 std::vector<std::string>{"Fehlermeldung: Quelldatei == Zieldatei !"});
        gui().boxes().Clear();
        gui().SetText(IDC_TARGET, "out.txt");
        gui().Click(IDOK);  // the source does not exist
        std::vector<RecordedBox> want = {
            {"Fehlermeldung", "Quelldatei nicht gefunden !", nullptr},
            {"Fehlermeldung", "Datei ex, nicht/Erzeugung fehlgeschlagen !", Hwnd()},
        };
        QCOMPARE(gui().boxes().boxes(), want);
        QVERIFY(!std::filesystem::exists(session_->dir().File("out.txt")));
        QVERIFY(gui().Window()->isVisible());
        QVERIFY(!gui().backend().QuitPosted());
    }

    void resourceKindRunsAResourceExtraction() {
        WriteBytes(session_->dir().File("s.rc"),
                   "CAPTION \"Hallo\"\r\n  LTEXT \"Welt\",-1,1,1,1,1\r\nx \"no\"\r\n");
        gui().Click(IDC_KIND_RESOURCE);
        gui().SetText(IDC_SOURCE, "s.rc");
        gui().SetText(IDC_TARGET, "out.txt");
        gui().Click(IDOK);
        QCOMPARE(ReadBytes(session_->dir().File("out.txt")),
                 std::string("Hallo\tCAPTION\ts.rc\r\nWelt\tLTEXT\ts.rc\r\n"));
        QCOMPARE(gui().boxes().Lines().back(), std::string("Meldung: Operation abgechlossen"));
    }

    void aClickDuringARunStartsNoSecondRun() {
        ReenteringSink sink;
        sink.dialog = Hwnd();
        WriteBytes(session_->dir().File("a.txt"), "\"v\"\r\n");
        gui().SetText(IDC_SOURCE, "a.txt");
        gui().SetText(IDC_TARGET, "out.txt");
        gui().Click(IDOK);
        QCOMPARE(ReadBytes(session_->dir().File("out.txt")), std::string("v\r\n"));
        QCOMPARE(sink.Lines(), (std::vector<std::string>{"Meldung: Zieldatei wird neu erzeugt",
                                                         "Meldung: Operation abgechlossen"}));
    }

    void closeCommandsEndTheProgramWritingNothing_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel button") << "cancel";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("close box") << "close";
    }
    void closeCommandsEndTheProgramWritingNothing() {
        QFETCH(QString, how);
        WriteBytes(session_->dir().File("a.txt"), "\"v\"\r\n");
        gui().SetText(IDC_SOURCE, "a.txt");
        gui().SetText(IDC_TARGET, "out.txt");
        QWidget* window = gui().Window();
        if (how == "cancel")
            gui().Click(IDCANCEL);
        if (how == "escape")
            QTest::keyClick(gui().Control(IDC_SOURCE), Qt::Key_Escape);
        if (how == "close")
            window->close();
        QVERIFY(Hwnd() == nullptr);  // destroyed and detached
        QVERIFY(gui().backend().QuitPosted());
        QCOMPARE(gui().backend().QuitCode(), 0);
        QVERIFY(gui().boxes().boxes().empty());
        std::filesystem::remove(session_->dir().File("a.txt"));
        QVERIFY(DirectoryIsEmpty(session_->dir().path()));
    }
};

}  // namespace sif::test

QTEST_MAIN(sif::test::MainDialogTest)
#include "main_dialog_test.moc"
