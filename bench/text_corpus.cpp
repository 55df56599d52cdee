#include "bench/text_corpus.h"

#include <array>
#include <string_view>

#include "bench/chunk_writer.h"
#include "bench/random_source.h"
#include "bench/word_lists.h"

namespace bench {
namespace {

constexpr std::array<std::string_view, 8> kTags = {"div", "span", "p", "li", "td", "h2", "em", "b"};
constexpr std::array<std::string_view, 5> kIndents = {"", "  ", "    ", "        ", "\t"};

class TextLines {
  public:
    TextLines(ChunkWriter& w, RandomSource& r) : w_(w), r_(r) {}

    void AddLine() {
        const std::uint32_t roll = r_.Below(1000);
        if (roll < 3) {
            LongMinifiedLine();
        } else if (roll < 5) {
            LongMarkupLine();
        } else if (roll < 20) {
            UnclosedQuoteLine();
        } else if (roll < 200) {
            MarkupLine();
        } else if (roll < 440) {
            SourceLine();
        } else if (roll < 590) {
            DataLine();
        } else if (roll < 780) {
            ProseLine();
        } else if (roll < 900) {
            CommentLine();
        } else {
            BareLine();
        }
        w_.EndLine();
    }

  private:
    void Words(std::uint32_t low, std::uint32_t high) {
        const std::uint32_t n = r_.Between(low, high);
        for (std::uint32_t i = 0; i < n; ++i) {
            if (i > 0) {
                w_.Add(' ');
            }
            w_.Add(r_.Pick(kWords));
        }
    }

    void Quoted(std::uint32_t low, std::uint32_t high) {
        w_.Add('"');
        Words(low, high);
        w_.Add('"');
    }

    // A string literal holding an escaped quote pair, as source code has them.
    void QuotedWithEscapes() {
        w_.Add('"');
        Words(1, 3);
        w_.Add(" \\\"");
        Words(1, 2);
        w_.Add("\\\" ");
        Words(0, 2);
        w_.Add('"');
    }

    void MarkupLine() {
        w_.Add(r_.Pick(kIndents));
        switch (r_.Below(4)) {
            case 0: {
                const std::string_view tag = r_.Pick(kTags);
                w_.Add('<');
                w_.Add(tag);
                w_.Add(" class=");
                Quoted(1, 3);
                w_.Add(" id=\"");
                w_.Add(r_.Pick(kWords));
                w_.Add('-');
                w_.AddNumber(r_.Below(10000));
                w_.Add("\">");
                Words(1, 8);
                w_.Add("</");
                w_.Add(tag);
                w_.Add('>');
                break;
            }
            case 1:
                w_.Add("<a href=\"/");
                w_.Add(r_.Pick(kWords));
                w_.Add('/');
                w_.Add(r_.Pick(kWords));
                w_.Add(".html\" title=");
                Quoted(2, 5);
                w_.Add('>');
                w_.Add(r_.Pick(kCapitalWords));
                w_.Add("</a>");
                break;
            case 2:
                w_.Add("<img src=\"img/");
                w_.Add(r_.Pick(kWords));
                w_.Add(".png\" alt=");
                Quoted(1, 4);
                w_.Add(" width=\"");
                w_.AddNumber(r_.Between(16, 640));
                w_.Add("\" height=\"");
                w_.AddNumber(r_.Between(16, 480));
                w_.Add("\">");
                break;
            default:
                w_.Add("<input type=\"text\" name=");
                Quoted(1, 1);
                w_.Add(" value=");
                Quoted(0, 3);
                w_.Add(" placeholder=");
                Quoted(2, 4);
                w_.Add(" />");
                break;
        }
    }

    void SourceLine() {
        w_.Add(r_.Pick(kIndents));
        switch (r_.Below(6)) {
            case 0:
                w_.Add("printf(");
                Quoted(1, 4);
                w_.Add(", ");
                w_.Add(r_.Pick(kWords));
                w_.Add(");");
                break;
            case 1:
                w_.Add("Log(");
                QuotedWithEscapes();
                w_.Add(");");
                break;
            case 2:
                w_.Add("const char* ");
                w_.Add(r_.Pick(kWords));
                w_.Add(" = ");
                Quoted(1, 6);
                w_.Add(';');
                break;
            case 3:
                w_.Add("if (");
                w_.Add(r_.Pick(kWords));
                w_.Add(" == ");
                Quoted(1, 1);
                w_.Add(") return ");
                Quoted(1, 3);
                w_.Add(';');
                break;
            case 4:
                w_.Add(r_.Pick(kWords));
                w_.Add(" = ");
                w_.Add(r_.Pick(kWords));
                w_.Add(" + ");
                w_.AddNumber(r_.Below(1000));
                w_.Add(';');
                break;
            default:
                w_.Add("#include ");
                w_.Add('"');
                w_.Add(r_.Pick(kWords));
                w_.Add(".h\"");
                break;
        }
    }

    void DataLine() {
        w_.Add("  ");
        Quoted(1, 1);
        w_.Add(": ");
        if (r_.Percent(70)) {
            Quoted(1, 5);
        } else {
            w_.AddNumber(r_.Below(100000));
        }
        w_.Add(',');
    }

    void ProseLine() {
        Words(3, 9);
        if (r_.Percent(60)) {
            w_.Add(' ');
            Quoted(1, 4);
            w_.Add(' ');
            Words(1, 6);
        }
        w_.Add('.');
    }

    void CommentLine() {
        w_.Add(r_.Pick(kIndents));
        w_.Add("// ");
        Words(2, 10);
    }

    void BareLine() {
        switch (r_.Below(3)) {
            case 0:
                break;
            case 1:
                w_.Add('}');
                break;
            default:
                w_.Add(r_.Pick(kIndents));
                w_.Add("</div>");
                break;
        }
    }

    // A quote that the line never closes, as in prose with a stray mark.
    void UnclosedQuoteLine() {
        Words(2, 5);
        w_.Add(" \"");
        Words(1, 4);
    }

    // Minified script: one line of 500 to 3000 bytes, dense with strings.
    void LongMinifiedLine() {
        const std::size_t goal = r_.Between(500, 3000);
        w_.Add("var cfg={");
        while (w_.CurrentLineLength() < goal) {
            Quoted(1, 1);
            w_.Add(':');
            if (r_.Percent(15)) {
                QuotedWithEscapes();
            } else {
                Quoted(1, 4);
            }
            w_.Add(',');
        }
        w_.Add("};");
    }

    // Generated markup without line breaks: 500 to 2000 bytes.
    void LongMarkupLine() {
        const std::size_t goal = r_.Between(500, 2000);
        while (w_.CurrentLineLength() < goal) {
            w_.Add("<span class=");
            Quoted(1, 2);
            w_.Add('>');
            Words(1, 5);
            w_.Add("</span>");
        }
    }

    ChunkWriter& w_;
    RandomSource& r_;
};

}  // namespace

void WriteTextCorpus(std::ostream& out, std::uint64_t bytes) {
    ChunkWriter writer(out);
    RandomSource random(kCorpusStartValue);
    TextLines lines(writer, random);
    while (writer.Written() < bytes) {
        lines.AddLine();
    }
}

}  // namespace bench
