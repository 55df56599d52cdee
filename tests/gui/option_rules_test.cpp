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
    std::unique_ptr<GuiHarness> gui_;
    CFilterDlg& dlg() { return gui_->dialog(); }
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
    void init() {
        g_bEnglish = 0;
        gui_ = std::make_unique<GuiHarness>();
        gui_->OpenMainDialog();
    }
    void cleanup() {
        gui_.reset();
        g_bEnglish = 0;
    }

    void modeBoxesAreExclusiveForText() {
        for (int id : {IDC_MODE_NEGATIVE, IDC_MODE_MULTI_POSITIVE, IDC_MODE_MULTI_NEGATIVE,
                       IDC_MODE_POSITIVE, IDC_MODE_POSITIVE}) {
            gui_->Click(id);
            QCOMPARE(CheckedModes(), std::vector<int>{id});  // a checked box stays checked
        }
    }

    void resourceKindRefusesTheOtherModes() {
        gui_->Click(IDC_MODE_MULTI_NEGATIVE);
        gui_->Click(IDC_KIND_RESOURCE);
        QCOMPARE(CheckedModes(), std::vector<int>{IDC_MODE_POSITIVE});
        for (int id : {IDC_MODE_NEGATIVE, IDC_MODE_MULTI_POSITIVE, IDC_MODE_MULTI_NEGATIVE}) {
            gui_->Click(id);
            QCOMPARE(CheckedModes(), std::vector<int>{IDC_MODE_POSITIVE});
        }
    }

    void noClickSequenceBreaksTheRules() {
        const int targets[] = {IDC_KIND_RESOURCE, IDC_KIND_TEXT,           IDC_MODE_POSITIVE,
                               IDC_MODE_NEGATIVE, IDC_MODE_MULTI_POSITIVE, IDC_MODE_MULTI_NEGATIVE};
        QRandomGenerator random(4711);
        for (int step = 0; step < 300; ++step) {
            int id = targets[random.bounded(int(std::size(targets)))];
            gui_->Click(id);
            std::vector<int> checked = CheckedModes();
            QVERIFY2(checked.size() == 1,
                     qPrintable(QString("step %1 (click %2)").arg(step).arg(id)));
            if (dlg().IsDlgButtonChecked(IDC_KIND_RESOURCE))
                QCOMPARE(checked[0], IDC_MODE_POSITIVE);
        }
    }

    void resourceKindResetsTheDelimitersOnEveryClick() {
        gui_->Click(IDC_MODE_MULTI_POSITIVE);
        for (int round = 0; round < 2; ++round) {  // also when already selected
            gui_->SetText(IDC_LEFT, "<");
            gui_->SetText(IDC_RIGHT, "}]");
            gui_->Click(IDC_KIND_RESOURCE);
            QCOMPARE(Text(IDC_LEFT), std::string("\""));
            QCOMPARE(Text(IDC_RIGHT), std::string("\""));
            QCOMPARE(CheckedModes(), std::vector<int>{IDC_MODE_POSITIVE});
        }
    }

    void textKindRestoresNothing() {
        gui_->Click(IDC_MODE_NEGATIVE);
        gui_->SetText(IDC_LEFT, "<");
        gui_->Click(IDC_KIND_RESOURCE);
        gui_->SetText(IDC_LEFT, "[");
        gui_->Click(IDC_KIND_TEXT);
        QCOMPARE(CheckedModes(), std::vector<int>{IDC_MODE_POSITIVE});
        QCOMPARE(Text(IDC_LEFT), std::string("["));
        QCOMPARE(Text(IDC_RIGHT), std::string("\""));
    }

    void oneToggleShowsEnglishAndChangesNothingElse() {
        gui_->Click(IDC_MODE_NEGATIVE);
        gui_->SetText(IDC_SOURCE, "in.txt");
        gui_->SetText(IDC_TARGET, "out.txt");
        gui_->SetText(IDC_LEFT, "<");
        gui_->SetText(IDC_RIGHT, ">");
        const std::vector<int> unchanged = {
            IDC_SOURCE,        IDC_TARGET,        IDC_LEFT,          IDC_RIGHT,
            IDC_MODE_POSITIVE, IDC_MODE_NEGATIVE, IDC_KIND_RESOURCE, IDC_KIND_TEXT,
            IDC_INFO,          IDC_LANGUAGE,      IDC_BROWSE_SOURCE, IDC_BROWSE_TARGET};
        Snapshot before = Take(unchanged);
        QString caption = gui_->Window()->windowTitle();

        gui_->Click(IDC_LANGUAGE);
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
        QCOMPARE(gui_->Window()->windowTitle(), caption);
    }

    void twoTogglesGiveTheStringTablesGerman() {
        gui_->Click(IDC_LANGUAGE);
        gui_->Click(IDC_LANGUAGE);
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
        gui_->Click(IDC_LANGUAGE);
        gui_->SetText(IDC_SOURCE, "same");
        gui_->SetText(IDC_TARGET, "same");
        gui_->Click(IDOK);
        QCOMPARE(gui_->boxes().Lines(),
                 std::vector<std::string>{"Errormessage: source file == target file !"});
        gui_->Click(IDC_LANGUAGE);
        gui_->Click(IDOK);
        QCOMPARE(gui_->boxes().Lines().back(),
                 std::string("Fehlermeldung: Quelldatei == Zieldatei !"));
    }
};

}  // namespace sif::test

QTEST_MAIN(sif::test::OptionRulesTest)
#include "option_rules_test.moc"
