#include "bench/rc_corpus.h"

#include <array>
#include <string_view>

#include "bench/chunk_writer.h"
#include "bench/random_source.h"
#include "bench/word_lists.h"

namespace bench {
namespace {

constexpr std::array<std::string_view, 4> kStyles = {
    "DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU",
    "WS_CHILD | WS_VISIBLE | DS_CONTROL", "DS_SETFONT | WS_POPUP | WS_BORDER",
    "DS_MODALFRAME | DS_3DLOOK | WS_POPUP | WS_CAPTION"};

class ResourceBlocks {
  public:
    ResourceBlocks(ChunkWriter& w, RandomSource& r) : w_(w), r_(r) {}

    void AddBlock() {
        const std::uint32_t roll = r_.Below(100);
        if (roll < 55) {
            Dialog();
        } else if (roll < 75) {
            Menu();
        } else if (roll < 93) {
            StringTable();
        } else {
            VersionInfo();
        }
        w_.EndLine();
    }

  private:
    void Line(std::string_view text) {
        w_.Add(text);
        w_.EndLine();
    }

    void Id(std::string_view prefix) {
        w_.Add(prefix);
        for (const char c : r_.Pick(kWords)) {
            w_.Add(static_cast<char>(c - 'a' + 'A'));
        }
        w_.Add('_');
        w_.AddNumber(r_.Below(1000));
    }

    void Rect() {
        for (int i = 0; i < 4; ++i) {
            w_.Add(',');
            w_.AddNumber(r_.Below(300));
        }
    }

    // A visible string: capitalised words, sometimes a doubled or escaped
    // quote, an ampersand accelerator or a tab, as real scripts have them.
    void Label(std::uint32_t low, std::uint32_t high) {
        w_.Add('"');
        if (r_.Percent(20)) {
            w_.Add('&');
        }
        w_.Add(r_.Pick(kCapitalWords));
        const std::uint32_t n = r_.Between(low, high);
        for (std::uint32_t i = 0; i < n; ++i) {
            w_.Add(' ');
            w_.Add(r_.Pick(kWords));
        }
        const std::uint32_t extra = r_.Below(100);
        if (extra < 4) {
            w_.Add(" \"\"");
            w_.Add(r_.Pick(kWords));
            w_.Add("\"\"");
        } else if (extra < 6) {
            w_.Add(" \\\"");
            w_.Add(r_.Pick(kWords));
            w_.Add("\\\"");
        } else if (extra < 12) {
            w_.Add("...\\tCtrl+");
            w_.Add(static_cast<char>('A' + r_.Below(26)));
        }
        w_.Add('"');
    }

    void Statement(std::string_view keyword) {
        w_.Add("    ");
        w_.Add(keyword);
        for (std::size_t pad = keyword.size(); pad < 16; ++pad) {
            w_.Add(' ');
        }
    }

    void Control() {
        switch (r_.Below(9)) {
            case 0:
                Statement("LTEXT");
                Label(0, 4);
                w_.Add(",IDC_STATIC");
                Rect();
                break;
            case 1:
                Statement("CTEXT");
                Label(0, 3);
                Id(",IDC_");
                Rect();
                w_.Add(",SS_NOPREFIX");
                break;
            case 2:
                Statement("RTEXT");
                Label(0, 2);
                Id(",IDC_");
                Rect();
                break;
            case 3:
                Statement("PUSHBUTTON");
                Label(0, 1);
                Id(",IDC_");
                Rect();
                break;
            case 4:
                Statement("DEFPUSHBUTTON");
                Label(0, 0);
                w_.Add(",IDOK");
                Rect();
                w_.Add(",WS_GROUP");
                break;
            case 5:
                Statement("CONTROL");
                Label(0, 3);
                Id(",IDC_");
                w_.Add(",\"Button\",BS_AUTOCHECKBOX | WS_TABSTOP");
                Rect();
                break;
            case 6:
                Statement("EDITTEXT");
                Id("IDC_");
                Rect();
                w_.Add(",ES_AUTOHSCROLL");
                break;
            case 7:
                Statement("GROUPBOX");
                Label(0, 2);
                w_.Add(",IDC_STATIC");
                Rect();
                break;
            default:
                Statement("ICON");
                w_.Add("IDR_MAINFRAME,IDC_STATIC");
                Rect();
                break;
        }
        w_.EndLine();
    }

    void Dialog() {
        Id("IDD_");
        w_.Add(r_.Percent(60) ? " DIALOGEX 0, 0" : " DIALOG DISCARDABLE 0, 0");
        w_.Add(", ");
        w_.AddNumber(r_.Between(100, 400));
        w_.Add(", ");
        w_.AddNumber(r_.Between(50, 300));
        w_.EndLine();
        w_.Add("STYLE ");
        w_.Add(r_.Pick(kStyles));
        w_.EndLine();
        w_.Add("CAPTION ");
        Label(0, 3);
        w_.EndLine();
        Line("FONT 8, \"MS Shell Dlg\", 0, 0, 0x1");
        Line("BEGIN");
        const std::uint32_t controls = r_.Between(3, 18);
        for (std::uint32_t i = 0; i < controls; ++i) {
            Control();
        }
        Line("END");
    }

    void MenuItems(int depth) {
        const std::string_view indent = depth == 0 ? "    " : "        ";
        const std::uint32_t items = r_.Between(2, 10);
        for (std::uint32_t i = 0; i < items; ++i) {
            w_.Add(indent);
            if (r_.Percent(12)) {
                w_.Add("MENUITEM SEPARATOR");
            } else {
                w_.Add("MENUITEM ");
                Label(0, 2);
                Id(", ID_");
            }
            w_.EndLine();
        }
    }

    void Menu() {
        Id("IDR_");
        w_.Add(" MENU");
        w_.EndLine();
        Line("BEGIN");
        const std::uint32_t popups = r_.Between(1, 5);
        for (std::uint32_t p = 0; p < popups; ++p) {
            w_.Add("    POPUP ");
            Label(0, 0);
            w_.EndLine();
            Line("    BEGIN");
            MenuItems(1);
            Line("    END");
        }
        Line("END");
    }

    void StringTable() {
        Line(r_.Percent(50) ? "STRINGTABLE DISCARDABLE" : "STRINGTABLE");
        Line("BEGIN");
        const std::uint32_t entries = r_.Between(4, 40);
        for (std::uint32_t i = 0; i < entries; ++i) {
            Id("    IDS_");
            w_.Add("    ");
            Label(1, 8);
            w_.EndLine();
        }
        Line("END");
    }

    void VersionInfo() {
        Line("VS_VERSION_INFO VERSIONINFO");
        Line(" FILEVERSION 1,0,0,1");
        Line("BEGIN");
        Line("    BLOCK \"StringFileInfo\"");
        Line("    BEGIN");
        Line("        BLOCK \"040904b0\"");
        Line("        BEGIN");
        w_.Add("            VALUE \"FileDescription\", ");
        Label(1, 3);
        w_.EndLine();
        Line("            VALUE \"FileVersion\", \"1, 0, 0, 1\"");
        Line("        END");
        Line("    END");
        Line("END");
    }

    ChunkWriter& w_;
    RandomSource& r_;
};

}  // namespace

void WriteResourceCorpus(std::ostream& out, std::uint64_t bytes) {
    ChunkWriter writer(out);
    RandomSource random(kCorpusStartValue);
    ResourceBlocks blocks(writer, random);
    writer.Add("// Generated resource script");
    writer.EndLine();
    writer.Add("#include \"resource.h\"");
    writer.EndLine();
    writer.EndLine();
    while (writer.Written() < bytes) {
        blocks.AddBlock();
    }
}

}  // namespace bench
