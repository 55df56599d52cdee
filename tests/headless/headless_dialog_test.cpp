#include "tests/headless/headless_dialog_test.h"

#include "engine/language.h"
#include "platform/framework/win_app.h"

namespace sif::test {

HeadlessDialogTest::HeadlessDialogTest() {
    g_bEnglish = 0;
    backend_.SetDialogColors(RGB(192, 192, 192), RGB(0, 0, 0));
    CDialog::SetModalHook(
        [this](CDialog& dialog) { modalTemplates_.push_back(dialog.GetTemplateId()); });
    dialog_ = std::make_unique<CFilterDlg>(nullptr);
    sif::ShowWindow(Hwnd(), SW_SHOWNORMAL);
}

HeadlessDialogTest::~HeadlessDialogTest() {
    if (Hwnd() != nullptr)
        dialog_->DestroyWindow();
    dialog_.reset();
    CDialog::SetModalHook(nullptr);
    g_bEnglish = 0;
}

void HeadlessDialogTest::Click(int id) {
    HWND item = Item(id);
    ASSERT_NE(item, nullptr) << "no control " << id;
    backend_.Click(item);
}

void HeadlessDialogTest::Type(int id, const std::string& utf8) {
    HWND item = Item(id);
    ASSERT_NE(item, nullptr) << "no control " << id;
    backend_.Type(item, utf8);
}

std::string HeadlessDialogTest::Text(int id) const {
    char buffer[512];
    dialog_->GetDlgItemTextA(id, buffer, sizeof buffer);
    return buffer;
}

std::vector<std::string> HeadlessDialogTest::BoxLines() const {
    std::vector<std::string> lines;
    for (const headless::ShownBox& box : backend_.shownBoxes())
        lines.push_back(box.caption + ": " + box.text);
    return lines;
}

}  // namespace sif::test
