// The compiled resources as the program reads them through LoadStringA and
// the Find*Resource look-ups.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/resources.h"

namespace {

using sif::AfxGetResourceHandle;
using sif::LoadStringA;

std::string Load(unsigned id) {
    char buffer[256];
    int n = LoadStringA(AfxGetResourceHandle(), id, buffer, sizeof buffer);
    EXPECT_EQ(n, static_cast<int>(std::strlen(buffer)));
    return buffer;
}

TEST(LoadString, CutsToTheBufferAndNeverWritesPastIt) {
    // 3044 has 42 characters: the 40-byte message buffers keep 39 of them.
    const std::string full = "Datei ex, nicht/Erzeugung fehlgeschlagen !";
    for (int size : {1, 2, 10, 40, 42, 43, 44}) {
        SCOPED_TRACE(size);
        char buffer[64];
        std::memset(buffer, '#', sizeof buffer);
        int n = LoadStringA(AfxGetResourceHandle(), 3044, buffer, size);
        int expected = std::min<int>(size - 1, static_cast<int>(full.size()));
        EXPECT_EQ(n, expected);
        EXPECT_EQ(std::string(buffer, n), full.substr(0, expected));
        EXPECT_EQ(buffer[n], '\0');
        for (int i = n + 1; i < static_cast<int>(sizeof buffer); ++i) {
            ASSERT_EQ(buffer[i], '#') << "byte " << i << " written";
        }
    }
}

TEST(LoadString, MissingIdsAndUnusableBuffersGiveZero) {
    char buffer[8] = "keep";
    EXPECT_EQ(LoadStringA(AfxGetResourceHandle(), 1, buffer, sizeof buffer), 0);
    EXPECT_EQ(buffer[0], '\0');
    std::strcpy(buffer, "keep");
    EXPECT_EQ(LoadStringA(AfxGetResourceHandle(), 3039, buffer, 0), 0);
    EXPECT_EQ(LoadStringA(AfxGetResourceHandle(), 3039, buffer, -5), 0);
    EXPECT_STREQ(buffer, "keep");
    EXPECT_EQ(LoadStringA(AfxGetResourceHandle(), 3039, nullptr, 40), 0);
}

TEST(Catalogue, EveryGermanTextHasItsEnglishTwinTwentyAbove) {
    std::vector<unsigned> ids = {3070, 3071, 3072};
    for (unsigned id = 3030; id <= 3049; ++id) {
        ids.push_back(id);
    }
    for (unsigned id : ids) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(Load(id).empty());
        EXPECT_FALSE(Load(id + 20).empty());
        EXPECT_NE(Load(id), Load(id + 20));
    }
}

TEST(Catalogue, TextsKeepTheirExactWording) {
    struct Text {
        unsigned id;
        const char* text;
    };
    const Text texts[] = {
        {2007, "Text|*.txt|"},
        {2016, "Res|*.rc|Dialog|*.dlg|"},
        {2019, "Text|*.txt|HTML|*.html|HTM|*.htm|"},
        {3032, "Typen"},
        {3033, "Linke Begrenzung:"},
        {3035, "\"xxx\" mehrzeilig"},
        {3036, "xx\"...\"xx mehrzeilig"},
        {3055, "\"xxx\" multiline"},
        {3056, "xx\"...\"xx multiline"},
        {3043, "Liste,txt nicht gefunden !"},
        {3045, "Operation abgechlossen"},
        {3048, "Zeile zu lang > 500 Zeichen !"},
        {3049, "Fehler beim Lesen/Schreiben !"},
        {3061, "Errormessage"},
        {3062, "process listfile: liste.txt"},
        {3068, "line too long > 500 characters !"},
        {3069, "read/write error !"},
        {3071, "Zieldatei unvollstaendig ergaenzt !"},
        {3091, "target file incompletely appended !"},
        {3072, "Zieldatei gesperrt (anderer Lauf) !"},
        {3092, "target file locked by another run !"},
    };
    for (const Text& t : texts) {
        SCOPED_TRACE(t.id);
        EXPECT_EQ(Load(t.id), t.text);
    }
}

TEST(Catalogue, FilterStringsEndInTheirSeparator) {
    for (unsigned id : {2007u, 2016u, 2019u}) {
        std::string filter = Load(id);
        ASSERT_FALSE(filter.empty());
        EXPECT_EQ(filter.back(), '|');
    }
}

}  // namespace
