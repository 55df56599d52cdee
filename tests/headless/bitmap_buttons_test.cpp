// The main dialog's OK and Cancel buttons get their pictures from the
// resources and the size of their Up picture, on the headless backend.
#include <gtest/gtest.h>

#include "platform/framework/bitmap_info.h"
#include "platform/resources.h"
#include "tests/headless/headless_dialog_test.h"

namespace sif::test {
namespace {

struct ButtonCase {
    int id;
    const char* up;
    const char* down;
    const char* focus;
};

class BitmapButtonsTest : public HeadlessDialogTest,
                          public testing::WithParamInterface<ButtonCase> {};

TEST_P(BitmapButtonsTest, TakeTheirPicturesAtTheSizeOfUp) {
    const ButtonCase& c = GetParam();
    const ButtonBitmaps* pictures = backend().BitmapsOf(Item(c.id));
    ASSERT_NE(pictures, nullptr) << "button " << c.id << " draws no pictures";
    EXPECT_EQ(pictures->up.data, FindBitmapResource(c.up)->data);
    EXPECT_EQ(pictures->down.data, FindBitmapResource(c.down)->data);
    EXPECT_EQ(pictures->focus.data, FindBitmapResource(c.focus)->data);
    EXPECT_EQ(pictures->disabled.data, nullptr);

    BitmapInfo up{0, 0, 0};
    ASSERT_TRUE(ReadBitmapInfo(pictures->up.data, pictures->up.size, &up));
    EXPECT_EQ(backend().Width(Item(c.id)), up.width);
    EXPECT_EQ(backend().Height(Item(c.id)), up.height);
}

INSTANTIATE_TEST_SUITE_P(Cases, BitmapButtonsTest,
                         testing::Values(ButtonCase{IDOK, "Up", "Down", "Focus"},
                                         ButtonCase{IDCANCEL, "CUp", "CDown", "CFocus"}));

}  // namespace
}  // namespace sif::test
