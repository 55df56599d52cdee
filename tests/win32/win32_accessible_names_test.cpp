// What a screen reader reads for the main dialog's fields on Windows: each
// field the label beside it, as on Qt, read through Active Accessibility.
#include <oleacc.h>

#include <string>

#include "tests/support/dialog_expectations.h"
#include "tests/win32/win32_dialog_test.h"
#include "ui/control_ids.h"

namespace sif::test {
namespace {

std::string AccessibleName(::HWND control) {
    IAccessible* accessible = nullptr;
    // __uuidof: the import library's IID_IAccessible links as a thunk, not the GUID.
    if (AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                   reinterpret_cast<void**>(&accessible)) != S_OK)
        return "(no accessible object)";
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::string narrow;
    if (accessible->get_accName(self, &name) == S_OK && name != nullptr) {
        char text[256] = "";
        WideCharToMultiByte(1252, 0, name, -1, text, sizeof text, nullptr, nullptr);
        narrow = text;
    }
    SysFreeString(name);
    accessible->Release();
    return narrow;
}

class Win32AccessibleNamesTest : public Win32DialogTest, public testing::WithParamInterface<int> {};

TEST_P(Win32AccessibleNamesTest, FieldsAreNamedByTheirLabels) {
    ASSERT_NE(Main(), nullptr);
    for (int i = 0; i < GetParam(); ++i)
        Click(ui::IDC_LANGUAGE);
    for (const auto& [field, label] : kFieldLabels)
        EXPECT_EQ(AccessibleName(GetDlgItem(Main(), field)), Text(label)) << "field " << field;
}

INSTANTIATE_TEST_SUITE_P(Toggles, Win32AccessibleNamesTest, testing::Values(0, 1, 2));

}  // namespace
}  // namespace sif::test
