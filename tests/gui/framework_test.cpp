// The toolkit-free parts of the window framework: dialog-unit mapping, the
// code page, bitmap headers, picture choice, font fallback and routing tables.
#include <QTest>
#include <cstring>
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

}  // namespace

class FrameworkTest : public QObject {
    Q_OBJECT

  private slots:
    void mulDivRoundsLikeWindows_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("numerator");
        QTest::addColumn<int>("denominator");
        QTest::addColumn<int>("expected");
        QTest::newRow("exact") << 8 << 6 << 4 << 12;
        QTest::newRow("half up") << 37 << 6 << 4 << 56;     // 55.5
        QTest::newRow("below half") << 9 << 13 << 8 << 15;  // 14.625
        QTest::newRow("negative half away") << -37 << 6 << 4 << -56;
        QTest::newRow("negative denominator") << 37 << 6 << -4 << -56;
        QTest::newRow("zero denominator") << 5 << 5 << 0 << -1;
        QTest::newRow("no overflow") << 2000000000 << 3 << 4 << 1500000000;
    }
    void mulDivRoundsLikeWindows() {
        QFETCH(int, number);
        QFETCH(int, numerator);
        QFETCH(int, denominator);
        QFETCH(int, expected);
        QCOMPARE(MulDiv(number, numerator, denominator), expected);
    }

    void baseUnitsFromFontMetrics_data() {
        QTest::addColumn<int>("alphabet");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("cx");
        QTest::newRow("classic dialog font") << 312 << 13 << 6;  // 6.0 per letter
        QTest::newRow("rounds up from half") << 338 << 16 << 7;  // 6.5
        QTest::newRow("rounds down below half") << 337 << 16 << 6;
        QTest::newRow("wide") << 353 << 13 << 7;
    }
    void baseUnitsFromFontMetrics() {
        QFETCH(int, alphabet);
        QFETCH(int, height);
        QFETCH(int, cx);
        DialogBaseUnits base = BaseUnitsFromFontMetrics(alphabet, height);
        QCOMPARE(base.cx, cx);
        QCOMPARE(base.cy, height);
    }

    void mapDialogRectMapsPositionAndSizeSeparately() {
        DialogBaseUnits base{6, 13};
        // The OK button of the main dialog with the classic font.
        QCOMPARE(MapDialogRect(230, 18, 37, 30, base), (RECT{345, 29, 345 + 56, 29 + 49}));
        // 4.875 + 19.5: mapping the right edge instead would give 25, not 24.
        QCOMPARE(MapDialogRect(3, 3, 13, 12, base), (RECT{5, 5, 5 + 20, 5 + 20}));
        QCOMPARE(PointsToPixels(8, 96), 11);
        QCOMPARE(PointsToPixels(8, 120), 13);
    }

    void codePageMapsTheHighRow_data() {
        QTest::addColumn<int>("byte");
        QTest::addColumn<uint>("codePoint");
        QTest::newRow("ascii") << 0x41 << 0x41u;
        QTest::newRow("euro") << 0x80 << 0x20ACu;
        QTest::newRow("left double quote") << 0x93 << 0x201Cu;
        QTest::newRow("unassigned 0x81") << 0x81 << 0x81u;
        QTest::newRow("latin-1 a umlaut") << 0xE4 << 0xE4u;
        QTest::newRow("y diaeresis") << 0xFF << 0xFFu;
    }
    void codePageMapsTheHighRow() {
        QFETCH(int, byte);
        QFETCH(uint, codePoint);
        QCOMPARE(static_cast<uint>(Cp1252ToCodePoint(static_cast<unsigned char>(byte))), codePoint);
        bool exact = false;
        QCOMPARE(static_cast<int>(CodePointToCp1252(codePoint, &exact)), byte);
        QVERIFY(exact);
    }

    void codePageRoundTripsEveryByte() {
        std::string all;
        for (int b = 1; b < 256; ++b)
            all += static_cast<char>(b);
        QCOMPARE(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
    }

    void codePageReplacesWhatItLacksAndSaysSo_data() {
        QTest::addColumn<QByteArray>("utf8");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("exact");
        QTest::newRow("ascii") << QByteArray("a?b") << QByteArray("a?b") << true;
        QTest::newRow("high row and latin-1")
            << QByteArray("\xE2\x82\xAC\xC2\xAB") << QByteArray("\x80\xAB") << true;
        QTest::newRow("alpha") << QByteArray("a\xCE\xB1z") << QByteArray("a?z") << false;
        QTest::newRow("arrow") << QByteArray("\xE2\x86\x92") << QByteArray("?") << false;
        QTest::newRow("beyond 16 bits")
            << QByteArray("\xF0\x9F\x98\x80") << QByteArray("?") << false;
        // Malformed UTF-8 never reads past the end.
        QTest::newRow("cut sequence") << QByteArray("x\xE2\x82") << QByteArray("x?") << false;
    }
    void codePageReplacesWhatItLacksAndSaysSo() {
        QFETCH(QByteArray, utf8);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, exact);
        bool wasExact = !exact;
        QCOMPARE(QByteArray::fromStdString(Utf8ToCp1252(utf8.toStdString(), &wasExact)), bytes);
        QCOMPARE(wasExact, exact);
    }

    void bitmapInfoReadsSizeAndRefusesDamage() {
        std::vector<unsigned char> bmp = MakeBmp(64, 40);
        BitmapInfo info{0, 0, 0};
        QVERIFY(ReadBitmapInfo(bmp.data(), bmp.size(), &info));
        QCOMPARE(info.width, 64);
        QCOMPARE(info.height, 40);
        QCOMPARE(info.bitCount, 4);

        std::vector<unsigned char> topDown = MakeBmp(10, -7, 24);
        QVERIFY(ReadBitmapInfo(topDown.data(), topDown.size(), &info));
        QCOMPARE(info.height, 7);

        QVERIFY(!ReadBitmapInfo(bmp.data(), bmp.size() - 1, &info));  // last row cut
        QVERIFY(!ReadBitmapInfo(bmp.data(), 20, &info));
        std::vector<unsigned char> wrongMagic = bmp;
        wrongMagic[0] = 'X';
        QVERIFY(!ReadBitmapInfo(wrongMagic.data(), wrongMagic.size(), &info));
        std::vector<unsigned char> oddDepth = MakeBmp(8, 8, 3);
        QVERIFY(!ReadBitmapInfo(oddDepth.data(), oddDepth.size(), &info));
        QVERIFY(!ReadBitmapInfo(nullptr, 100, &info));
    }

    void buttonPictureFollowsState_data() {
        QTest::addColumn<bool>("pressed");
        QTest::addColumn<bool>("focused");
        QTest::addColumn<bool>("disabled");
        QTest::addColumn<bool>("haveAll");
        QTest::addColumn<int>("expected");
        using P = ButtonPicture;
        QTest::newRow("idle") << false << false << false << true << int(P::Up);
        QTest::newRow("pressed beats focus") << true << true << false << true << int(P::Down);
        QTest::newRow("focus") << false << true << false << true << int(P::Focus);
        QTest::newRow("disabled") << false << false << true << true << int(P::Disabled);
        QTest::newRow("pressed, no down picture") << true << false << false << false << int(P::Up);
        QTest::newRow("disabled, no picture") << false << false << true << false << int(P::Up);
    }
    void buttonPictureFollowsState() {
        QFETCH(bool, pressed);
        QFETCH(bool, focused);
        QFETCH(bool, disabled);
        QFETCH(bool, haveAll);
        QFETCH(int, expected);
        QCOMPARE(int(ChooseButtonPicture(pressed, focused, disabled, haveAll, haveAll, haveAll)),
                 expected);
    }

    void dialogFontFallsBackToTheClosestSans() {
        auto only = [](std::vector<std::string> installed) {
            return [installed](const std::string& family) {
                return std::find(installed.begin(), installed.end(), family) != installed.end();
            };
        };
        QCOMPARE(ChooseDialogFontFamily("MS Sans Serif", only({"MS Sans Serif", "Arial"})),
                 std::string("MS Sans Serif"));
        QCOMPARE(ChooseDialogFontFamily("MS Sans Serif", only({"DejaVu Sans", "Nimbus Sans"})),
                 std::string("Nimbus Sans"));
        QCOMPARE(ChooseDialogFontFamily("MS Sans Serif", only({"DejaVu Sans"})),
                 std::string("DejaVu Sans"));
        QCOMPARE(ChooseDialogFontFamily("MS Sans Serif", only({})), std::string());
    }

    void filterStringsSplitAtTheirLastCharacter() {
        using F = std::vector<FileFilter>;
        QCOMPARE(ParseFilterString("Text|*.txt|"), (F{{"Text", "*.txt"}}));
        QCOMPARE(ParseFilterString("Res|*.rc|Dialog|*.dlg|"),
                 (F{{"Res", "*.rc"}, {"Dialog", "*.dlg"}}));
        QCOMPARE(ParseFilterString("Text|*.txt|HTML|*.html|HTM|*.htm|").size(), std::size_t(3));
        // Any last character is the separator.
        QCOMPARE(ParseFilterString("A#*.a#B#*.b#"), (F{{"A", "*.a"}, {"B", "*.b"}}));
        QCOMPARE(ParseFilterString(""), F{});
        QCOMPARE(ParseFilterString("Odd|*.o|Name|"), (F{{"Odd", "*.o"}}));
    }

    void routingWalksFromDerivedToBase() {
        RoutingDerived wnd;
        QVERIFY(wnd.OnCmdMsg(1, BN_CLICKED));     // base entry, virtual override runs
        QVERIFY(wnd.OnCmdMsg(2, BN_CLICKED));     // derived entry hides the base's
        QVERIFY(wnd.OnCmdMsg(3000, BN_CLICKED));  // derived only
        QVERIFY(!wnd.OnCmdMsg(3001, BN_CLICKED));
        QVERIFY(!wnd.OnCmdMsg(3000, 1));  // another notification of a routed control
        wnd.SendDestroy();
        QCOMPARE(wnd.log, std::string("derived-ok derived-cancel apply destroy "));

        RoutingBase base;
        QVERIFY(base.OnCmdMsg(1, BN_CLICKED));
        QVERIFY(base.OnCmdMsg(2, BN_CLICKED));
        QVERIFY(!base.OnCmdMsg(3000, BN_CLICKED));
        base.SendDestroy();  // default processing only
        QCOMPARE(base.log, std::string("base-ok base-cancel "));
    }
};

}  // namespace sif::test

QTEST_APPLESS_MAIN(sif::test::FrameworkTest)
#include "framework_test.moc"
