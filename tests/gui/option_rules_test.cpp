// The option rules and the language toggle of the main dialog, driven by
// real clicks on the offscreen platform.
#include <QRandomGenerator>
#include <QTest>

#include "engine/language.h"
#include "tests/gui/gui_harness.h"
#include "ui/control_ids.h"

namespace sif::test {
namespace {

using namespace ui;

constexpr int kModes[] = {IDC_MODE_POSITIVE, IDC_MODE_NEGATIVE, IDC_MODE_MULTI_POSITIVE,
                          IDC_MODE_MULTI_NEGATIVE};

// Every text and check mark of the dialog.
struct Snapshot {
    std::vector<std::string> texts;
    std::vector<unsigned> checks;
    bool operator==(const Snapshot&) const = default;
};

}  // namespace

class OptionRulesTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<MainDialogSession> session_;
    CFilterDlg& dlg() { return session_->gui().dialog(); }
    std::string Text(int id) {
        char buffer[128];
        dlg().GetDlgItemTextA(id, buffer, sizeof buffer);
        return buffer;
    }
    std::vector<int> CheckedModes() {
        std::vector<int> checked;
        for (int id : kModes) {
            if (dlg().IsDlgButtonChecked(id))
                checked.push_back(id);
        }
        return checked;
    }
    Snapshot Take(const std::vector<int>& textIds) {
        Snapshot s;
        for (int id : textIds)
            s.texts.push_back(Text(id));
        for (int id = IDC_KIND_RESOURCE; id <= IDC_MODE_MULTI_NEGATIVE; ++id) {
            s.checks.push_back(dlg().IsDlgButtonChecked(id));
        }
        return s;
    }

  private slots:
    void init() { session_ = std::make_unique<MainDialogSession>(); }
    void cleanup() { session_.reset(); }

    void modeBoxesAreExclusiveForText() {
        for (int id : {IDC_MODE_NEGATIVE, IDC_MODE_MULTI_POSITIVE, IDC_MODE_MULTI_NEGATIVE,
                       IDC_MODE_POSITIVE, IDC_MODE_POSITIVE}) {
            session_->gui().Click(id);
            QCOMPARE(CheckedModes(), std::vector<int>{id});  // a checked box stays checked
        }
    }

    void resourceKindRefusesTheOtherModes() {
        session_->gui().Click(IDC_MODE_MULTI_NEGATIVE);
        session_->gui().Click(IDC_KIND_RESOURCE);
        QCOMPARE(CheckedModes(), std::vector<int>{IDC_MODE_POSITIVE});
        for (int id : {IDC_MODE_NEGATIVE, IDC_MODE_MULTI_POSITIVE, IDC_MODE_MULTI_NEGATIVE}) {
            session_->gui().Click(id);
            QCOMPARE(CheckedModes(), std::vector<int>{IDC_MODE_POSITIVE});
        }
    }

    void noClickSequenceBreaksTheRules() {
        const int targets[] = {IDC_KIND_RESOURCE, IDC_KIND_TEXT,           IDC_MODE_POSITIVE,
                               IDC_MODE_NEGATIVE, IDC_MODE_MULTI_POSITIVE, IDC_MODE_MULTI_NEGATIVE};
        QRandomGenerator random(4711);
        for (int step = 0; step < 300; ++step) {
            int id = targets[random.bounded(int(std::size(targets)))];
            session_->gui().Click(id);
            std::vector<int> checked = CheckedModes();
            QVERIFY2(checked.size() == 1,
                     qPrintable(QString("step %1 (click %2)").arg(step).arg(id)));
            if (dlg().IsDlgButtonChecked(IDC_KIND_RESOURCE))
                QCOMPARE(checked[0], IDC_MODE_POSITIVE);
        }
    }

    void theFirstCheckedBoxInIdOrderChoosesTheMode() {
        // Only the program itself can check two boxes at once; the lookup must
        // still take the lowest id, as the run does.
        dlg().SendDlgItemMessageA(IDC_MODE_POSITIVE, BM_SETCHECK, 0);
        QCOMPARE(dlg().GetCheckedRadioButton(IDC_MODE_POSITIVE, IDC_MODE_MULTI_NEGATIVE), 0);
        dlg().SendDlgItemMessageA(IDC_MODE_MULTI_NEGATIVE, BM_SETCHECK, 1);
        dlg().SendDlgItemMessageA(IDC_MODE_NEGATIVE, BM_SETCHECK, 1);
        QCOMPARE(dlg().GetCheckedRadioButton(IDC_MODE_POSITIVE, IDC_MODE_MULTI_NEGATIVE),
                 IDC_MODE_NEGATIVE);
        QCOMPARE(dlg().GetCheckedRadioButton(IDC_KIND_RESOURCE, IDC_KIND_TEXT), IDC_KIND_TEXT);
    }

    void resourceKindResetsTheDelimitersOnEveryClick() {
        session_->gui().Click(IDC_MODE_MULTI_POSITIVE);
        for (int round = 0; round < 2; ++round) {  // also when already selected
            session_->gui().SetText(IDC_LEFT, "<");
            session_->gui().SetText(IDC_RIGHT, "}]");
            session_->gui().Click(IDC_KIND_RESOURCE);
            QCOMPARE(Text(IDC_LEFT), std::string("\""));
            QCOMPARE(Text(IDC_RIGHT), std::string("\""));
            QCOMPARE(CheckedModes(), std::vector<int>{IDC_MODE_POSITIVE});
        }
    }

    void textKindRestoresNothing() {
        session_->gui().Click(IDC_MODE_NEGATIVE);
        session_->gui().SetText(IDC_LEFT, "<");
        session_->gui().Click(IDC_KIND_RESOURCE);
        session_->gui().SetText(IDC_LEFT, "[");
        session_->gui().Click(IDC_KIND_TEXT);
        QCOMPARE(CheckedModes(), std::vector<int>{IDC_MODE_POSITIVE});
        QCOMPARE(Text(IDC_LEFT), std::string("["));
        QCOMPARE(Text(IDC_RIGHT), std::string("\""));
    }

    void oneToggleShowsEnglishAndChangesNothingElse() {
        session_->gui().Click(IDC_MODE_NEGATIVE);
        session_->gui().SetText(IDC_SOURCE, "in.txt");
        session_->gui().SetText(IDC_TARGET, "out.txt");
        session_->gui().SetText(IDC_LEFT, "<");
        session_->gui().SetText(IDC_RIGHT, ">");
        const std::vector<int> unchanged = {
            IDC_SOURCE,        IDC_TARGET,        IDC_LEFT,          IDC_RIGHT,
            IDC_MODE_POSITIVE, IDC_MODE_NEGATIVE, IDC_KIND_RESOURCE, IDC_KIND_TEXT,
            IDC_INFO,          IDC_LANGUAGE,      IDC_BROWSE_SOURCE, IDC_BROWSE_TARGET};
        Snapshot before = Take(unchanged);
        QString caption = session_->gui().Window()->windowTitle();

        session_->gui().Click(IDC_LANGUAGE);
        QCOMPARE(g_bEnglish, 1);
        const std::pair<int, const char*> english[] = {
            {IDC_LABEL_SOURCE, "source file:"},
            {IDC_LABEL_TARGET, "target file:"},
            {IDC_LABEL_KIND, "types"},
            {IDC_LABEL_LEFT, "left delimiter:"},
            {IDC_LABEL_RIGHT, "right:"},
            {IDC_MODE_MULTI_POSITIVE, "\"xxx\" multiline"},
            {IDC_MODE_MULTI_NEGATIVE, "xx\"...\"xx multiline"},
            {IDC_VIEW_SOURCE, "View"},
            {IDC_VIEW_TARGET, "View"},
        };
        for (const auto& [id, text] : english)
            QCOMPARE(Text(id), std::string(text));
        QCOMPARE(Take(unchanged), before);
        QCOMPARE(Text(IDC_MODE_POSITIVE), std::string("positiv: ... \"xxxxx\" ..."));
        QCOMPARE(session_->gui().Window()->windowTitle(), caption);
    }

    void twoTogglesGiveTheStringTablesGerman() {
        session_->gui().Click(IDC_LANGUAGE);
        session_->gui().Click(IDC_LANGUAGE);
        QCOMPARE(g_bEnglish, 0);
        const std::pair<int, const char*> german[] = {
            {IDC_LABEL_SOURCE, "Quelldatei:"},
            {IDC_LABEL_TARGET, "Zieldatei:"},
            {IDC_LABEL_KIND, "Typen"},  // the template has "Typen:"
            {IDC_LABEL_LEFT, "Linke Begrenzung:"},
            {IDC_LABEL_RIGHT, "Rechts:"},
            {IDC_MODE_MULTI_POSITIVE, "\"xxx\" mehrzeilig"},
            {IDC_MODE_MULTI_NEGATIVE, "xx\"...\"xx mehrzeilig"},
            {IDC_VIEW_SOURCE, "Ansicht"},
            {IDC_VIEW_TARGET, "Ansicht"},
        };
        for (const auto& [id, text] : german)
            QCOMPARE(Text(id), std::string(text));
    }

    void aRunAfterAToggleSpeaksEnglish() {
        session_->gui().Click(IDC_LANGUAGE);
        session_->gui().SetText(IDC_SOURCE, "same");
        session_->gui().SetText(IDC_TARGET, "same");
        session_->gui().Click(IDOK);
        QCOMPARE(session_->gui().boxes().Lines(),
                 std::vector<std::string>{"Errormessage: source file == target file !"});
        session_->gui().Click(IDC_LANGUAGE);
        session_->gui().Click(IDOK);
        QCOMPARE(session_->gui().boxes().Lines().back(),
                 std::string("Fehlermeldung: Quelldatei == Zieldatei !"));
    }
};

}  // namespace sif::test

QTEST_MAIN(sif::test::OptionRulesTest)
#include "option_rules_test.moc"
