// Qt's own texts follow the interface language: German from the start, and
// switched with every "US/DE" click; English when Qt has no translation.
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "platform/qt/qt_translations.h"
#include "tests/qt/qt_harness.h"
#include "ui/control_ids.h"

namespace sif::test {
namespace {

using namespace ui;

struct QtTexts {
    QString lookIn, cancel, contextFirst;
};

const QtTexts kGerman{"Suchen in:", "Abbrechen", "&R\u00fcckg\u00e4ngig"};
const QtTexts kEnglish{"Look in:", "Cancel", "&Undo"};

bool HaveGermanQt() {
    return QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm");
}

// The first entry of the edit field's context menu, without its shortcut.
QString ContextMenuFirst(QLineEdit& edit) {
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    return menu->actions().isEmpty() ? QString()
                                     : menu->actions().first()->text().section('\t', 0, 0);
}

// Clicks `button` and reads the texts of the file dialog it opens, then
// cancels it. Empty texts when none opened within 10 s.
QtTexts FileDialogTexts(GuiHarness& gui, int button) {
    QtTexts seen;
    FileDialogWatcher watcher([&](QFileDialog& dialog) {
        if (auto* label = dialog.findChild<QLabel*>("lookInLabel"))
            seen.lookIn = label->text();
        if (auto* box = dialog.findChild<QDialogButtonBox*>("buttonBox"))
            seen.cancel = box->button(QDialogButtonBox::Cancel)->text();
        dialog.reject();
        return true;
    });
    gui.Click(button);
    return seen;
}

}  // namespace

class QtLanguageTest : public QObject {
    Q_OBJECT

  private slots:
    void qtTextsFollowTheToggle_data() {
        QTest::addColumn<int>("toggles");
        QTest::addColumn<bool>("german");
        QTest::newRow("at the start") << 0 << true;
        QTest::newRow("after one toggle") << 1 << false;
        QTest::newRow("after two toggles") << 2 << true;
        QTest::newRow("after three toggles") << 3 << false;
    }
    void qtTextsFollowTheToggle() {
        QFETCH(int, toggles);
        QFETCH(bool, german);
        if (!HaveGermanQt())
            QSKIP(
                "Qt's German translation (qtbase_de.qm, Debian package qt6-translations-l10n) "
                "is not installed");
        MainDialogSession session;
        for (int i = 0; i < toggles; ++i)
            session.gui().Click(IDC_LANGUAGE);
        const QtTexts& expected = german ? kGerman : kEnglish;

        QtTexts dialog = FileDialogTexts(session.gui(), IDC_BROWSE_SOURCE);
        QVERIFY2(!dialog.lookIn.isEmpty(), "no file dialog opened within 10 s");
        QCOMPARE(dialog.lookIn, expected.lookIn);
        QCOMPARE(dialog.cancel, expected.cancel);
        auto* source = session.gui().ControlAs<QLineEdit>(IDC_SOURCE);
        QCOMPARE(ContextMenuFirst(*source), expected.contextFirst);
        // What every box button of Qt reads its text from.
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), expected.cancel);
        // The file dialog's file types come by the default locale.
        QCOMPARE(QLocale().language(), german ? QLocale::German : QLocale::English);
    }

    void anOpenFileDialogSwitchesWithTheLanguage() {
        if (!HaveGermanQt())
            QSKIP("Qt's German translation (qtbase_de.qm) is not installed");
        QFileDialog dialog(nullptr, QString(), QDir::currentPath());
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        auto* lookIn = dialog.findChild<QLabel*>("lookInLabel");
        QVERIFY(lookIn != nullptr);
        qt::QtTranslations translations;
        QVERIFY(translations.Use("de"));
        QTRY_COMPARE_WITH_TIMEOUT(lookIn->text(), kGerman.lookIn, 10000);
        QVERIFY(translations.Use("en"));
        QTRY_COMPARE_WITH_TIMEOUT(lookIn->text(), kEnglish.lookIn, 10000);
    }

    void withoutATranslationQtStaysEnglish_data() {
        QTest::addColumn<bool>("emptyFolder");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("served");
        QTest::newRow("German, no translations installed") << true << ""
                                                           << "de" << false;
        QTest::newRow("a language Qt lacks") << false << ""
                                             << "xx" << false;
        QTest::newRow("a language Qt lacks, after German") << false << "de"
                                                           << "xx" << false;
        QTest::newRow("English, after German") << false << "de"
                                               << "en" << true;
    }
    void withoutATranslationQtStaysEnglish() {
        QFETCH(bool, emptyFolder);
        QFETCH(QString, before);
        QFETCH(QString, language);
        QFETCH(bool, served);
        QTemporaryDir empty;
        qt::QtTranslations translations(
            emptyFolder ? empty.path() : QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        if (!before.isEmpty() && !translations.Use(before))
            QSKIP("Qt's German translation (qtbase_de.qm) is not installed");
        QCOMPARE(translations.Use(language), served);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Cancel"));
        QCOMPARE(QLocale().language(), QLocale::English);
    }

    void theWindowWorksWithoutQtsTranslation() {
        MainDialogSession session;
        session.gui().backend().SetInterfaceLanguage("xx");
        QtTexts dialog = FileDialogTexts(session.gui(), IDC_BROWSE_TARGET);
        QCOMPARE(dialog.lookIn, kEnglish.lookIn);
        session.gui().Click(IDC_LANGUAGE);
        QCOMPARE(session.gui().ControlAs<QLabel>(IDC_LABEL_SOURCE)->text(),
                 QString("source file:"));
    }
};

}  // namespace sif::test

QTEST_MAIN(sif::test::QtLanguageTest)
#include "qt_language_test.moc"
