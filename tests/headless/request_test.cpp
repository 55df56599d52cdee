// Reading the main dialog's controls into the run's request, and the
// delimiters that the dialog code page cannot hold, on the headless backend.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/extract_request.h"
#include "engine/language.h"
#include "tests/support/lock_holder.h"
#include "tests/headless/headless_dialog_test.h"
#include "ui/control_ids.h"

namespace sif::test {
namespace {

using namespace ui;

struct ReadCase {
    const char* name;
    int kind;          // the kind box checked; 0: none
    int mode;          // the mode box checked; 0: none
    const char* left;  // typed, UTF-8
    SourceKind wantKind;
    ExtractMode wantMode;
    const char* wantLeft;  // as read, single-byte
};

class ReadRequestTest : public HeadlessDialogTest, public testing::WithParamInterface<ReadCase> {};

TEST_P(ReadRequestTest, ReadsTheControls) {
    const ReadCase& c = GetParam();
    for (int id = IDC_KIND_RESOURCE; id <= IDC_KIND_TEXT; ++id)
        dlg().CheckDlgButton(id, id == c.kind);
    for (int id = IDC_MODE_POSITIVE; id <= IDC_MODE_MULTI_NEGATIVE; ++id)
        dlg().CheckDlgButton(id, id == c.mode);
    Type(IDC_LEFT, c.left);
    ExtractRequest request = dlg().ReadRequest();
    EXPECT_EQ(request.nKind, c.wantKind);
    EXPECT_EQ(request.ModeToRun(), c.wantMode);
    EXPECT_EQ(std::string(request.szLeft), c.wantLeft);
    EXPECT_EQ(std::string(request.szRight), "\"");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadRequestTest,
    testing::Values(ReadCase{"TextPositive", IDC_KIND_TEXT, IDC_MODE_POSITIVE, "\"", KindText,
                             ModePositive, "\""},
                    ReadCase{"TextNegative", IDC_KIND_TEXT, IDC_MODE_NEGATIVE, "<", KindText,
                             ModeNegative, "<"},
                    ReadCase{"MultilinePositive", IDC_KIND_TEXT, IDC_MODE_MULTI_POSITIVE, "ab",
                             KindText, ModeMultilinePositive, "ab"},
                    ReadCase{"MultilineNegativeCutToTwo", IDC_KIND_TEXT, IDC_MODE_MULTI_NEGATIVE,
                             "abc", KindText, ModeMultilineNegative, "ab"},
                    ReadCase{"NoModeBoxPositive", IDC_KIND_TEXT, 0, "", KindText, ModePositive, ""},
                    ReadCase{"ResourceIgnoresTheMode", IDC_KIND_RESOURCE, IDC_MODE_MULTI_NEGATIVE,
                             "\"", KindResource, ModePositive, "\""},
                    ReadCase{"NoKindText", 0, IDC_MODE_NEGATIVE, "\"", KindText, ModeNegative,
                             "\""},
                    ReadCase{"SingleByteCodePage", IDC_KIND_TEXT, IDC_MODE_POSITIVE,
                             "\xC2\xAB\xE2\x82\xAC", KindText, ModePositive, "\xAB\x80"}),
    [](const testing::TestParamInfo<ReadCase>& info) { return info.param.name; });

using RequestTest = HeadlessDialogTest;

TEST_F(RequestTest, FileNamesAreReadWholeInTheFileNameEncoding) {
    std::string longName;
    for (int i = 0; i < 100; ++i)
        longName += "d/";
    longName +=
        "Gr\xC3\xB6\xC3\x9F"
        "e.txt";
    Type(IDC_SOURCE, longName);
    Type(IDC_TARGET, "\xE2\x82\xAC \xCE\xB1.txt");
    g_bEnglish = 1;
    ExtractRequest request = dlg().ReadRequest();
    EXPECT_EQ(request.szSource, longName);
    EXPECT_EQ(request.szTarget, "\xE2\x82\xAC \xCE\xB1.txt");  // alpha too
    EXPECT_EQ(request.bEnglish, 1);
}

struct RefusedCase {
    const char* name;
    int field;
    const char* typed;  // UTF-8
    bool english;
    const char* box;
};

class RefusedDelimiterTest : public HeadlessDialogTest,
                             public testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedDelimiterTest, RefusesTheRun) {
    const RefusedCase& c = GetParam();
    WriteBytes(dir().File("a.txt"), "x \"abc\" ? y ?\r\n");
    Type(IDC_SOURCE, "a.txt");
    Type(IDC_TARGET, "out.txt");
    if (c.english)
        Click(IDC_LANGUAGE);
    Type(c.field, c.typed);
    Click(IDOK);
    EXPECT_EQ(BoxLines(), std::vector<std::string>{c.box});
    ASSERT_FALSE(backend().shownBoxes().empty());
    EXPECT_EQ(backend().shownBoxes()[0].owner, Hwnd());
    EXPECT_FALSE(std::filesystem::exists(dir().File("out.txt")));
    EXPECT_TRUE(backend().IsWindowVisible(Hwnd()));
}

constexpr const char* kGermanRefusal = "Fehlermeldung: Begrenzung nicht im Zeichensatz !";
constexpr const char* kEnglishRefusal = "Errormessage: delimiter not in character set !";

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedDelimiterTest,
    testing::Values(
        RefusedCase{"Left", IDC_LEFT, "\xE2\x86\x92", false, kGermanRefusal},
        RefusedCase{"RightEnglish", IDC_RIGHT, "\xE2\x86\x92", true, kEnglishRefusal},
        RefusedCase{"SecondCharacter", IDC_LEFT, "\"\xE2\x86\x92", false, kGermanRefusal},
        RefusedCase{"Beyond16Bits", IDC_RIGHT, "\xF0\x9F\x98\x80", true, kEnglishRefusal}),
    [](const testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

TEST_F(RequestTest, ADelimiterInTheCodePageRuns) {
    WriteBytes(dir().File("a.txt"),
               "x \x80"
               "abc\xAB y\r\n");
    Type(IDC_SOURCE, "a.txt");
    Type(IDC_TARGET, "out.txt");
    Type(IDC_LEFT, "\xE2\x82\xAC");  // euro sign, 0x80
    Type(IDC_RIGHT, "\xC2\xAB");     // guillemet, 0xAB
    Click(IDOK);
    EXPECT_EQ(ReadBytes(dir().File("out.txt")), "abc\r\n");
    ASSERT_FALSE(BoxLines().empty());
    EXPECT_EQ(BoxLines().back(), "Meldung: Operation abgechlossen");
}

TEST_F(RequestTest, ATargetThatAnotherRunHoldsIsRefusedAfterAMoment) {
    // The window cannot be used while a run waits: it does not wait long.
    WriteBytes(dir().File("a.txt"), "\"x\"\r\n");
    WriteBytes(dir().File("out.txt"), "earlier\r\n");
    LockHolder holder(dir().File("out.txt"));
    ASSERT_TRUE(holder.Held());
    Type(IDC_SOURCE, "a.txt");
    Type(IDC_TARGET, "out.txt");
    Click(IDOK);
    EXPECT_EQ(BoxLines(), (std::vector<std::string>{
                              "Fehlermeldung: Zieldatei gesperrt (anderer Lauf) !",
                              "Fehlermeldung: Datei ex, nicht/Erzeugung fehlgeschlagen !"}));
    EXPECT_EQ(ReadBytes(dir().File("out.txt")), "earlier\r\n");
}

}  // namespace
}  // namespace sif::test
