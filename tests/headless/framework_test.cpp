// The toolkit-free parts of the window framework: dialog-unit mapping, the
// code page, bitmap headers, picture choice, font fallback, filter strings
// and routing tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/framework/bitmap_button.h"
#include "platform/framework/bitmap_info.h"
#include "platform/framework/code_page.h"
#include "platform/framework/dialog_font.h"
#include "platform/framework/dialog_units.h"
#include "platform/framework/file_dialog.h"
#include "platform/framework/wnd.h"

namespace sif::test {
namespace {

// A minimal BMP file: 14-byte file header, 40-byte info header, 16-colour
// palette, rows of `width` 4-bit pixels.
std::vector<unsigned char> MakeBmp(int width, int height, int bitCount = 4) {
    int stride = ((width * bitCount + 31) / 32) * 4;
    int palette = bitCount <= 8 ? (1 << bitCount) * 4 : 0;
    int offset = 14 + 40 + palette;
    std::vector<unsigned char> bytes(static_cast<std::size_t>(offset + stride * std::abs(height)));
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put32(2, static_cast<std::uint32_t>(bytes.size()));
    put32(10, static_cast<std::uint32_t>(offset));
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(width));
    put32(22, static_cast<std::uint32_t>(height));
    bytes[26] = 1;
    bytes[28] = static_cast<unsigned char>(bitCount);
    return bytes;
}

// Routing tables: a base with OK/Cancel and a derived class that overrides
// one handler virtually and adds its own entries.
class RoutingBase : public CWnd {
  public:
    std::string log;

  protected:
    virtual void OnOK() { log += "base-ok "; }
    void OnCancel() { log += "base-cancel "; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RoutingBase, CWnd)
ON_COMMAND(1, OnOK)
ON_COMMAND(2, OnCancel)
END_MESSAGE_MAP()

class RoutingDerived : public RoutingBase {
  protected:
    void OnOK() override { log += "derived-ok "; }
    void OnApply() { log += "apply "; }
    void OnOtherCancel() { log += "derived-cancel "; }
    void OnDestroy() { log += "destroy "; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RoutingDerived, RoutingBase)
ON_WM_DESTROY()
ON_BN_CLICKED(3000, OnApply)
ON_BN_CLICKED(2, OnOtherCancel)
END_MESSAGE_MAP()

struct MulDivCase {
    int number, numerator, denominator, expected;
};

class MulDivTest : public testing::TestWithParam<MulDivCase> {};

TEST_P(MulDivTest, RoundsLikeWindows) {
    const MulDivCase& c = GetParam();
    EXPECT_EQ(MulDiv(c.number, c.numerator, c.denominator), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, MulDivTest,
                         testing::Values(MulDivCase{8, 6, 4, 12},
                                         MulDivCase{37, 6, 4, 56},    // 55.5: half up
                                         MulDivCase{9, 13, 8, 15},    // 14.625
                                         MulDivCase{-37, 6, 4, -56},  // half away from zero
                                         MulDivCase{37, 6, -4, -56}, MulDivCase{5, 5, 0, -1},
                                         MulDivCase{2000000000, 3, 4, 1500000000}));

struct FontMetricsCase {
    int alphabet, height, cx;
};

class BaseUnitsTest : public testing::TestWithParam<FontMetricsCase> {};

TEST_P(BaseUnitsTest, ComeFromTheFontMetrics) {
    const FontMetricsCase& c = GetParam();
    DialogBaseUnits base = BaseUnitsFromFontMetrics(c.alphabet, c.height);
    EXPECT_EQ(base.cx, c.cx);
    EXPECT_EQ(base.cy, c.height);
}

INSTANTIATE_TEST_SUITE_P(Cases, BaseUnitsTest,
                         testing::Values(FontMetricsCase{312, 13, 6},  // the classic dialog font
                                         FontMetricsCase{338, 16, 7},  // 6.5 rounds up
                                         FontMetricsCase{337, 16, 6}, FontMetricsCase{353, 13, 7}));

TEST(DialogUnits, MapPositionAndSizeSeparately) {
    DialogBaseUnits base{6, 13};
    // The OK button of the main dialog with the classic font.
    EXPECT_EQ(MapDialogRect(230, 18, 37, 30, base), (RECT{345, 29, 345 + 56, 29 + 49}));
    // 4.875 + 19.5: mapping the right edge instead would give 25, not 24.
    EXPECT_EQ(MapDialogRect(3, 3, 13, 12, base), (RECT{5, 5, 5 + 20, 5 + 20}));
    EXPECT_EQ(PointsToPixels(8, 96), 11);
    EXPECT_EQ(PointsToPixels(8, 120), 13);
}

struct HighRowCase {
    int byte;
    char32_t codePoint;
};

class CodePageHighRowTest : public testing::TestWithParam<HighRowCase> {};

TEST_P(CodePageHighRowTest, MapsBothWays) {
    const HighRowCase& c = GetParam();
    EXPECT_EQ(Cp1252ToCodePoint(static_cast<unsigned char>(c.byte)), c.codePoint);
    bool exact = false;
    EXPECT_EQ(static_cast<int>(CodePointToCp1252(c.codePoint, &exact)), c.byte);
    EXPECT_TRUE(exact);
}

INSTANTIATE_TEST_SUITE_P(Cases, CodePageHighRowTest,
                         testing::Values(HighRowCase{0x41, 0x41}, HighRowCase{0x80, 0x20AC},
                                         HighRowCase{0x93, 0x201C},
                                         HighRowCase{0x81, 0x81},  // unassigned
                                         HighRowCase{0xE4, 0xE4}, HighRowCase{0xFF, 0xFF}));

TEST(CodePage, RoundTripsEveryByte) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

struct LackCase {
    const char* utf8;
    const char* bytes;
    bool exact;
};

class CodePageLackTest : public testing::TestWithParam<LackCase> {};

TEST_P(CodePageLackTest, ReplacesWhatItLacksAndSaysSo) {
    const LackCase& c = GetParam();
    bool exact = !c.exact;
    EXPECT_EQ(Utf8ToCp1252(c.utf8, &exact), c.bytes);
    EXPECT_EQ(exact, c.exact);
}

INSTANTIATE_TEST_SUITE_P(Cases, CodePageLackTest,
                         testing::Values(LackCase{"a?b", "a?b", true},
                                         LackCase{"\xE2\x82\xAC\xC2\xAB", "\x80\xAB", true},
                                         LackCase{"a\xCE\xB1z", "a?z", false},      // alpha
                                         LackCase{"\xE2\x86\x92", "?", false},      // arrow
                                         LackCase{"\xF0\x9F\x98\x80", "?", false},  // > 16 bits
                                         // Malformed UTF-8 never reads past the end.
                                         LackCase{"x\xE2\x82", "x?", false}));

TEST(BitmapInfo, ReadsSizeAndRefusesDamage) {
    std::vector<unsigned char> bmp = MakeBmp(64, 40);
    BitmapInfo info{0, 0, 0};
    ASSERT_TRUE(ReadBitmapInfo(bmp.data(), bmp.size(), &info));
    EXPECT_EQ(info.width, 64);
    EXPECT_EQ(info.height, 40);
    EXPECT_EQ(info.bitCount, 4);

    std::vector<unsigned char> topDown = MakeBmp(10, -7, 24);
    ASSERT_TRUE(ReadBitmapInfo(topDown.data(), topDown.size(), &info));
    EXPECT_EQ(info.height, 7);

    EXPECT_FALSE(ReadBitmapInfo(bmp.data(), bmp.size() - 1, &info));  // last row cut
    EXPECT_FALSE(ReadBitmapInfo(bmp.data(), 20, &info));
    std::vector<unsigned char> wrongMagic = bmp;
    wrongMagic[0] = 'X';
    EXPECT_FALSE(ReadBitmapInfo(wrongMagic.data(), wrongMagic.size(), &info));
    std::vector<unsigned char> oddDepth = MakeBmp(8, 8, 3);
    EXPECT_FALSE(ReadBitmapInfo(oddDepth.data(), oddDepth.size(), &info));
    EXPECT_FALSE(ReadBitmapInfo(nullptr, 100, &info));
}

struct PictureCase {
    const char* name;
    bool pressed, focused, disabled, haveAll;
    ButtonPicture expected;
};

class ButtonPictureTest : public testing::TestWithParam<PictureCase> {};

TEST_P(ButtonPictureTest, FollowsTheState) {
    const PictureCase& c = GetParam();
    EXPECT_EQ(
        ChooseButtonPicture(c.pressed, c.focused, c.disabled, c.haveAll, c.haveAll, c.haveAll),
        c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ButtonPictureTest,
    testing::Values(PictureCase{"Idle", false, false, false, true, ButtonPicture::Up},
                    PictureCase{"PressedBeatsFocus", true, true, false, true, ButtonPicture::Down},
                    PictureCase{"Focus", false, true, false, true, ButtonPicture::Focus},
                    PictureCase{"Disabled", false, false, true, true, ButtonPicture::Disabled},
                    PictureCase{"PressedNoDownPicture", true, false, false, false,
                                ButtonPicture::Up},
                    PictureCase{"DisabledNoPicture", false, false, true, false, ButtonPicture::Up}),
    [](const testing::TestParamInfo<PictureCase>& info) { return info.param.name; });

TEST(DialogFont, FallsBackToTheClosestSans) {
    auto only = [](std::vector<std::string> installed) {
        return [installed](const std::string& family) {
            return std::find(installed.begin(), installed.end(), family) != installed.end();
        };
    };
    EXPECT_EQ(ChooseDialogFontFamily("MS Sans Serif", only({"MS Sans Serif", "Arial"})),
              "MS Sans Serif");
    EXPECT_EQ(ChooseDialogFontFamily("MS Sans Serif", only({"DejaVu Sans", "Nimbus Sans"})),
              "Nimbus Sans");
    EXPECT_EQ(ChooseDialogFontFamily("MS Sans Serif", only({"DejaVu Sans"})), "DejaVu Sans");
    EXPECT_EQ(ChooseDialogFontFamily("MS Sans Serif", only({})), "");
}

TEST(FilterStrings, SplitAtTheirLastCharacter) {
    using F = std::vector<FileFilter>;
    EXPECT_EQ(ParseFilterString("Text|*.txt|"), (F{{"Text", "*.txt"}}));
    EXPECT_EQ(ParseFilterString("Res|*.rc|Dialog|*.dlg|"),
              (F{{"Res", "*.rc"}, {"Dialog", "*.dlg"}}));
    EXPECT_EQ(ParseFilterString("Text|*.txt|HTML|*.html|HTM|*.htm|").size(), 3u);
    // Any last character is the separator.
    EXPECT_EQ(ParseFilterString("A#*.a#B#*.b#"), (F{{"A", "*.a"}, {"B", "*.b"}}));
    EXPECT_EQ(ParseFilterString(""), F{});
    EXPECT_EQ(ParseFilterString("Odd|*.o|Name|"), (F{{"Odd", "*.o"}}));
}

TEST(Routing, WalksFromDerivedToBase) {
    RoutingDerived wnd;
    EXPECT_TRUE(wnd.OnCmdMsg(1, BN_CLICKED));     // base entry, virtual override runs
    EXPECT_TRUE(wnd.OnCmdMsg(2, BN_CLICKED));     // derived entry hides the base's
    EXPECT_TRUE(wnd.OnCmdMsg(3000, BN_CLICKED));  // derived only
    EXPECT_FALSE(wnd.OnCmdMsg(3001, BN_CLICKED));
    EXPECT_FALSE(wnd.OnCmdMsg(3000, 1));  // another notification of a routed control
    wnd.SendDestroy();
    EXPECT_EQ(wnd.log, "derived-ok derived-cancel apply destroy ");

    RoutingBase base;
    EXPECT_TRUE(base.OnCmdMsg(1, BN_CLICKED));
    EXPECT_TRUE(base.OnCmdMsg(2, BN_CLICKED));
    EXPECT_FALSE(base.OnCmdMsg(3000, BN_CLICKED));
    base.SendDestroy();  // default processing only
    EXPECT_EQ(base.log, "base-ok base-cancel ");
}

}  // namespace
}  // namespace sif::test
