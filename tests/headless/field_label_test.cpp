// The label that names a field: found from template geometry alone, for the
// main dialog's fields and for the layouts a template may hold.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/framework/field_label.h"
#include "platform/resources.h"
#include "platform/window_styles.h"
#include "tests/support/dialog_expectations.h"

namespace sif::test {
namespace {

TEST(FieldLabelTest, EveryFieldOfTheMainDialogIsNamedByItsLabel) {
    const res::DialogResource* dialog = FindDialogResource(ui::IDD_MAIN);
    ASSERT_NE(dialog, nullptr);
    std::vector<std::pair<int, int>> found;
    for (std::size_t i = 0; i < dialog->controlCount; ++i) {
        if (std::strcmp(dialog->controls[i].className, "Edit") != 0)
            continue;
        int label = FindFieldLabel(*dialog, i);
        ASSERT_GE(label, 0) << "no label for field " << dialog->controls[i].id;
        found.emplace_back(dialog->controls[i].id, dialog->controls[label].id);
    }
    EXPECT_EQ(found, kFieldLabels);
}

// A field at (100, 50), 40 x 12 dialog units, and the labels around it.
res::ControlResource Label(int x, int y, int w, int h,
                           const char* text = "label:", unsigned type = SS_LEFT,
                           const char* className = "Static") {
    res::ControlResource label{"LTEXT", className, text, 0, 0, 0, x, y, w, h, 0};
    label.style = type | WS_VISIBLE;
    return label;
}

struct Layout {
    const char* what;
    std::vector<res::ControlResource> labels;
    int expected;  // index into labels, or -1
};

TEST(FieldLabelTest, TheNearestLabelLeftOnTheRowElseAbove) {
    const Layout layouts[] = {
        {"left on the row", {Label(60, 52, 38, 8)}, 0},
        {"above over its columns", {Label(100, 38, 30, 8)}, 0},
        {"left wins over a nearer one above", {Label(100, 41, 30, 8), Label(50, 52, 40, 8)}, 1},
        {"the nearer of two on the left", {Label(80, 52, 12, 8), Label(93, 52, 5, 8)}, 1},
        {"the nearer of two above", {Label(100, 34, 30, 8), Label(100, 44, 30, 4)}, 1},
        {"right of it is no label", {Label(142, 52, 30, 8)}, -1},
        {"below it is no label", {Label(100, 64, 30, 8)}, -1},
        {"above, beside its columns", {Label(150, 38, 30, 8)}, -1},
        {"left, on another row", {Label(60, 30, 38, 8)}, -1},
        {"too far to the left", {Label(40, 52, 60 - kMaxLabelGap - 1, 8)}, -1},
        {"just near enough to the left", {Label(40, 52, 60 - kMaxLabelGap, 8)}, 0},
        {"too far above", {Label(100, 50 - kMaxLabelGap - 9, 30, 8)}, -1},
        {"an empty text", {Label(60, 52, 38, 8, "")}, -1},
        {"an icon", {Label(60, 52, 38, 8, "", SS_ICON)}, -1},
        {"right-aligned text", {Label(60, 52, 38, 8, "label:", SS_RIGHT)}, 0},
        {"class named in lower case", {Label(60, 52, 38, 8, "label:", SS_LEFT, "static")}, 0},
        {"a button is no label", {Label(60, 52, 38, 8, "label:", 0, "Button")}, -1},
    };
    for (const Layout& layout : layouts) {
        std::vector<res::ControlResource> controls = layout.labels;
        res::ControlResource field{"EDITTEXT", "Edit", "", 7, 0, 0, 100, 50, 40, 12, 0};
        field.style = WS_VISIBLE;
        controls.push_back(field);
        res::DialogResource dialog{
            1, 0, 0, 200, 100, 0, "", "", 8, controls.data(), controls.size()};
        EXPECT_EQ(FindFieldLabel(dialog, controls.size() - 1), layout.expected) << layout.what;
    }
}

}  // namespace
}  // namespace sif::test
