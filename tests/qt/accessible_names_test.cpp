// What a screen reader reads for the main dialog's fields and check boxes:
// each field the label beside it, each check box and radio button its own
// text; all different, and following the language toggle.
#include <QAccessible>
#include <QSet>
#include <QTest>

#include "tests/qt/qt_harness.h"
#include "tests/support/dialog_expectations.h"
#include "ui/control_ids.h"

namespace sif::test {
namespace {

using namespace ui;

constexpr int kMarkedButtons[] = {IDC_KIND_RESOURCE,       IDC_KIND_TEXT,
                                  IDC_MODE_POSITIVE,       IDC_MODE_NEGATIVE,
                                  IDC_MODE_MULTI_POSITIVE, IDC_MODE_MULTI_NEGATIVE};

// The text `table` gives control `id`; the template's for one it leaves alone.
QString Expected(const LabelTable& table, int id) {
    for (const LabelTable* t : {&table, &kTemplateLabels}) {
        for (const auto& [control, text] : *t) {
            if (control == id)
                return QString::fromUtf8(text);
        }
    }
    return {};
}

QString AccessibleName(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
}

}  // namespace

class AccessibleNamesTest : public QObject {
    Q_OBJECT

  private slots:
    void fieldsAndCheckBoxesAreNamed_data() {
        QTest::addColumn<int>("toggles");
        QTest::newRow("as the window opens") << 0;
        QTest::newRow("after one toggle") << 1;
        QTest::newRow("after two toggles") << 2;
    }
    void fieldsAndCheckBoxesAreNamed() {
        QFETCH(int, toggles);
        const LabelTable* const shown[] = {&kTemplateLabels, &kEnglishLabels,
                                           &kGermanToggledLabels};
        const LabelTable* labels = shown[toggles];
        MainDialogSession session;
        for (int i = 0; i < toggles; ++i)
            session.gui().Click(IDC_LANGUAGE);

        QSet<QString> names;
        for (const auto& [field, label] : kFieldLabels) {
            QString name = AccessibleName(session.gui().Control(field));
            QCOMPARE(name, Expected(*labels, label));
            names.insert(name);
        }
        for (int id : kMarkedButtons) {
            QString name = AccessibleName(session.gui().Control(id));
            QCOMPARE(name, Expected(*labels, id));
            names.insert(name);
        }
        QCOMPARE(names.size(), qsizetype(std::size(kFieldLabels) + std::size(kMarkedButtons)));
    }
};

}  // namespace sif::test

QTEST_MAIN(sif::test::AccessibleNamesTest)
#include "accessible_names_test.moc"
