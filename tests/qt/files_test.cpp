// Choosing and viewing files from the main dialog: the browse filters per
// kind, cancelling, whole paths, the working directory following a choice,
// and the viewer started with the field's text as its one argument.
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <optional>

#include "engine/language.h"
#include "platform/framework/file_dialog.h"
#include "platform/posix/viewer_search.h"
#include "platform/qt/qt_file_dialog.h"
#include "tests/qt/qt_harness.h"
#include "tests/support/temp_dir.h"
#include "ui/control_ids.h"

namespace sif::test {
namespace {

using namespace ui;
using Filters = std::vector<FileFilter>;

// Answers the harness's file dialog by script until destruction.
class ScriptedFileDialog : public ScriptedFileChoice {
  public:
    explicit ScriptedFileDialog(TestBackend& backend) : backend_(backend) {
        backend_.scriptedFiles = this;
    }
    ~ScriptedFileDialog() { backend_.scriptedFiles = nullptr; }

  private:
    TestBackend& backend_;
};

const Filters kResourceFilters = {{"Res", "*.rc"}, {"Dialog", "*.dlg"}};
const Filters kTextFilters = {{"Text", "*.txt"}, {"HTML", "*.html"}, {"HTM", "*.htm"}};
const Filters kTargetFilters = {{"Text", "*.txt"}};

// An executable `name` holding `script` in `bin`, which stands first on PATH
// until destruction.
class ScopedSearchPath {
  public:
    ScopedSearchPath(const std::filesystem::path& bin, const std::string& name,
                     const std::string& script)
        : previous_(qgetenv("PATH")) {
        std::filesystem::create_directories(bin);
        WriteBytes((bin / name).string(), script);
        std::filesystem::permissions(bin / name, std::filesystem::perms::owner_all);
        qputenv("PATH", QByteArray::fromStdString(bin.string()) + ":" + previous_);
    }
    ~ScopedSearchPath() { qputenv("PATH", previous_); }

  private:
    QByteArray previous_;
};

}  // namespace

class FilesTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<MainDialogSession> session_;
    CFilterDlg& dlg() { return session_->gui().dialog(); }

  private slots:
    void init() { session_ = std::make_unique<MainDialogSession>(); }
    void cleanup() { session_.reset(); }

    void browseOffersTheFiltersOfTheKind_data() {
        QTest::addColumn<int>("kind");  // 0: neither kind selected
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("filterSet");
        QTest::newRow("source, text kind") << IDC_KIND_TEXT << IDC_BROWSE_SOURCE << 1;
        QTest::newRow("source, resource kind") << IDC_KIND_RESOURCE << IDC_BROWSE_SOURCE << 0;
        QTest::newRow("source, no kind") << 0 << IDC_BROWSE_SOURCE << 0;
        QTest::newRow("target, resource kind") << IDC_KIND_RESOURCE << IDC_BROWSE_TARGET << 2;
        QTest::newRow("target, text kind") << IDC_KIND_TEXT << IDC_BROWSE_TARGET << 2;
    }
    void browseOffersTheFiltersOfTheKind() {
        QFETCH(int, kind);
        QFETCH(int, button);
        QFETCH(int, filterSet);
        const Filters* expected[] = {&kResourceFilters, &kTextFilters, &kTargetFilters};
        for (int id = IDC_KIND_RESOURCE; id <= IDC_KIND_TEXT; ++id)
            dlg().CheckDlgButton(id, id == kind);
        ScriptedFileDialog files(session_->gui().backend());
        session_->gui().Click(button);
        QCOMPARE(files.requests.size(), std::size_t(1));
        QCOMPARE(files.requests[0].filters, *expected[filterSet]);
        QCOMPARE(files.requests[0].filterIndex, 1);
        QVERIFY(files.requests[0].fileMustExist);
        QVERIFY(files.requests[0].pathMustExist);
    }

    void aCancelledDialogLeavesTheFieldAndDirectory() {
        session_->gui().SetText(IDC_SOURCE, "kept.txt");
        ScriptedFileDialog files(session_->gui().backend());  // answers with a cancel
        session_->gui().Click(IDC_BROWSE_SOURCE);
        session_->gui().Click(IDC_BROWSE_TARGET);
        QCOMPARE(files.requests.size(), std::size_t(2));
        QCOMPARE(dlg().GetDlgItemFileName(IDC_SOURCE), std::string("kept.txt"));
        QCOMPARE(dlg().GetDlgItemFileName(IDC_TARGET), std::string());
        QCOMPARE(std::filesystem::current_path(), session_->dir().path());
    }

    void theChosenPathIsWrittenWhole() {
        std::filesystem::path folder = session_->dir().path() / std::string(200, 'd') /
                                       "Gr\xC3\xB6\xC3\x9F"
                                       "e mit Leer";
        std::filesystem::create_directories(folder);
        std::string chosen = (folder / "\xE2\x82\xAC \"q\".txt").string();
        WriteBytes(chosen, "");
        ScriptedFileDialog files(session_->gui().backend());
        files.answer = chosen;
        session_->gui().SetText(IDC_TARGET, "replaced");
        session_->gui().Click(IDC_BROWSE_TARGET);
        QVERIFY(chosen.size() > 200);
        QCOMPARE(dlg().GetDlgItemFileName(IDC_TARGET), chosen);
        QCOMPARE(dlg().ReadRequest().szTarget, chosen);
    }

    void theWorkingDirectoryFollowsTheChoice() {
        std::filesystem::path sub = session_->dir().path() / "sub";
        std::filesystem::create_directories(sub);
        WriteBytes((sub / "a.txt").string(), "\"one\"\r\n");
        WriteBytes((sub / "b.txt").string(), "\"two\"\r\n");
        WriteBytes((sub / "Liste.txt").string(), "b.txt\r\n");
        ScriptedFileDialog files(session_->gui().backend());
        files.answer = (sub / "a.txt").string();
        session_->gui().Click(IDC_BROWSE_SOURCE);
        QCOMPARE(std::filesystem::current_path(), sub);

        // Bare names typed afterwards, the list file included, are looked up there.
        session_->gui().SetText(IDC_SOURCE, "a.txt");
        session_->gui().SetText(IDC_TARGET, "out.txt");
        session_->gui().Click(IDOK);
        session_->gui().SetText(IDC_SOURCE, "#LISTE#");
        session_->gui().Click(IDOK);
        QCOMPARE(ReadBytes((sub / "out.txt").string()), std::string("one\r\ntwo\r\n"));
        QVERIFY(!std::filesystem::exists(session_->dir().path() / "out.txt"));
    }

    void qtFileDialogOffersTheFiltersAndReturnsTheWholePath_data() {
        QTest::addColumn<bool>("accept");
        QTest::newRow("chosen") << true;
        QTest::newRow("cancelled") << false;
    }
    void qtFileDialogOffersTheFiltersAndReturnsTheWholePath() {
        QFETCH(bool, accept);
        std::string chosen = (session_->dir().path() / "\xC3\xA4 b.htm").string();
        WriteBytes(chosen, "");
        OpenFileRequest request;
        request.filters = kTextFilters;
        QStringList seenFilters;
        QString seenSelected;
        bool seenModal = true;
        // Answers on every tick until the dialog has gone: an accept that
        // comes before the dialog has read its folder may be refused. One
        // that is still refused after 10 s becomes a cancel and a failure,
        // so the dialog cannot hang the test.
        QDeadlineTimer giveUp(10000);
        bool refused = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QFileDialog*>(top);
                if (dialog == nullptr || !dialog->isVisible())
                    continue;
                seenFilters = dialog->nameFilters();
                seenSelected = dialog->selectedNameFilter();
                seenModal = dialog->isModal() || dialog->parentWidget() != nullptr;
                refused = accept && giveUp.hasExpired();
                if (accept && !refused) {
                    // Typed as a user would: selectFile() depends on the
                    // folder listing the dialog loads in the background.
                    if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit"))
                        name->setText(QFile::decodeName(QByteArray::fromStdString(chosen)));
                    static_cast<QDialog*>(dialog)->accept();
                } else {
                    dialog->reject();
                }
                return;
            }
        });
        poll.start(10);
        std::optional<std::string> answer = qt::ChooseFileWithQt(request, QApplication::palette());
        poll.stop();
        QVERIFY2(!refused, "the file dialog refused the typed name for 10 s");
        QCOMPARE(seenFilters, (QStringList{"Text (*.txt)", "HTML (*.html)", "HTM (*.htm)"}));
        QCOMPARE(seenSelected, QString("Text (*.txt)"));
        QVERIFY(!seenModal);  // no owner: the main dialog stays usable
        if (accept) {
            QCOMPARE(answer.value_or(""), chosen);
        } else {
            QVERIFY(!answer);
        }
    }

    void viewStartsTheEditorWithTheNameAsOneFileArgument_data() {
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("button");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("argument");
        const QByteArray shell = "a b \"c\" ;$(touch pwned) `touch pwned2` 'x' & \xC3\xA4.txt";
        QTest::newRow("source") << IDC_SOURCE << IDC_VIEW_SOURCE << shell << shell;
        QTest::newRow("target") << IDC_TARGET << IDC_VIEW_TARGET << shell << shell;
        QTest::newRow("option-like") << IDC_SOURCE << IDC_VIEW_SOURCE << QByteArray("--new-window")
                                     << QByteArray("./--new-window");
        QTest::newRow("absolute") << IDC_TARGET << IDC_VIEW_TARGET << QByteArray("/tmp/-x.txt")
                                  << QByteArray("/tmp/-x.txt");
    }
    void viewStartsTheEditorWithTheNameAsOneFileArgument() {
        QFETCH(int, field);
        QFETCH(int, button);
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, argument);
        // A stand-in editor first on PATH that records its arguments.
        std::filesystem::path bin = session_->dir().path() / "bin";
        std::string record = (session_->dir().path() / "argv").string();
        std::string script =
            "#!/bin/sh\nfor a in \"$0\" \"$@\"; do printf '%s\\n' \"$a\"; done > '" + record +
            ".tmp'\nprintf '%s\\n' \"$#\" >> '" + record + ".tmp'\nmv '" + record + ".tmp' '" +
            record + "'\n";
        ScopedSearchPath path(bin, TextViewerCandidates().front(), script);

        session_->gui().SetText(field, QString::fromUtf8(name));
        session_->gui().Click(button);
        QTRY_VERIFY2_WITH_TIMEOUT(std::filesystem::exists(record),
                                  "the stand-in editor wrote nothing within 10 s", 10000);
        QCOMPARE(ReadBytes(record), (bin / TextViewerCandidates().front()).string() + "\n" +
                                        argument.toStdString() + "\n1\n");
        QVERIFY(!std::filesystem::exists(session_->dir().path() / "pwned"));
        QVERIFY(!std::filesystem::exists(session_->dir().path() / "pwned2"));
    }

    void viewWithAnEmptyFieldStartsNothing() {
        // An editor that logs each start; only the last click has a name.
        std::string log = (session_->dir().path() / "starts").string();
        ScopedSearchPath path(session_->dir().path() / "bin", TextViewerCandidates().front(),
                              "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + log + "'\n");
        session_->gui().Click(IDC_VIEW_SOURCE);
        session_->gui().Click(IDC_VIEW_TARGET);
        session_->gui().SetText(IDC_SOURCE, "named.txt");
        session_->gui().Click(IDC_VIEW_SOURCE);
        QTRY_VERIFY2_WITH_TIMEOUT(std::filesystem::exists(log),
                                  "the stand-in editor was not started within 10 s", 10000);
        QCOMPARE(ReadBytes(log), std::string("named.txt\n"));
    }
};

}  // namespace sif::test

QTEST_MAIN(sif::test::FilesTest)
#include "files_test.moc"
