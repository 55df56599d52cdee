// The button bitmaps and the icon, read back from the bytes the program
// carries.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <tuple>

#include "platform/resources.h"

namespace {

using sif::FindBitmapResource;
using sif::FindIconResource;
using sif::FindProgramIcon;
using sif::res::BinaryResource;

using Rgb = std::tuple<int, int, int>;
const Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kRed{255, 0, 0}, kGreen{0, 255, 0},
    kYellow{255, 255, 0}, kBlue{0, 0, 255};

std::uint32_t U32(const unsigned char* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | p[3] << 24;
}
std::uint16_t U16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

// A 4-bit bottom-up DIB: its header, palette and pixels.
struct Dib {
    const unsigned char* header;
    int width, height;  // height as drawn (an icon's DIB holds twice that)
    const unsigned char* palette;
    const unsigned char* bits;

    Rgb At(int x, int y) const {
        int stride = (width * 4 + 31) / 32 * 4;
        unsigned char pair = bits[(height - 1 - y) * stride + x / 2];
        int index = x % 2 ? pair & 0xF : pair >> 4;
        const unsigned char* entry = palette + 4 * index;
        return {entry[2], entry[1], entry[0]};
    }
    std::set<Rgb> Colours() const {
        std::set<Rgb> seen;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                seen.insert(At(x, y));
        }
        return seen;
    }
};

Dib ReadDib(const unsigned char* header, int drawnHeight) {
    EXPECT_EQ(U32(header), 40u);      // BITMAPINFOHEADER
    EXPECT_EQ(U16(header + 14), 4);   // bits per pixel
    EXPECT_EQ(U32(header + 16), 0u);  // uncompressed
    const unsigned char* palette = header + 40;
    return {header, static_cast<int>(U32(header + 4)), drawnHeight, palette, palette + 16 * 4};
}

Dib Bitmap(const char* name) {
    const BinaryResource* r = FindBitmapResource(name);
    EXPECT_NE(r, nullptr) << name;
    if (r == nullptr)
        return {};
    EXPECT_EQ(r->data[0], 'B');
    EXPECT_EQ(r->data[1], 'M');
    EXPECT_EQ(U32(r->data + 2), r->size);
    const unsigned char* header = r->data + 14;
    Dib dib = ReadDib(header, static_cast<int>(U32(header + 8)));
    EXPECT_EQ(dib.bits, r->data + U32(r->data + 10));
    EXPECT_LE(static_cast<std::size_t>(dib.bits - r->data) + 32u * 40u, r->size);
    return dib;
}

TEST(ButtonBitmaps, AreSixteenColour64By40) {
    for (const char* name : {"Up", "Down", "Focus", "CUp", "CDown", "CFocus"}) {
        SCOPED_TRACE(name);
        Dib dib = Bitmap(name);
        ASSERT_NE(dib.header, nullptr);
        EXPECT_EQ(dib.width, 64);
        EXPECT_EQ(dib.height, 40);
    }
}

TEST(ButtonBitmaps, NamesMatchWithoutRegardToCase) {
    EXPECT_EQ(FindBitmapResource("up"), FindBitmapResource("Up"));
    EXPECT_EQ(FindBitmapResource("CFOCUS"), FindBitmapResource("CFocus"));
    EXPECT_NE(FindBitmapResource("cdown"), nullptr);
    EXPECT_EQ(FindBitmapResource("Upp"), nullptr);
    EXPECT_EQ(FindBitmapResource("U"), nullptr);
    EXPECT_EQ(FindBitmapResource(""), nullptr);
    EXPECT_EQ(FindBitmapResource(nullptr), nullptr);
}

TEST(ButtonBitmaps, ShowTheirStateAndFace) {
    // Raised: light top-left edge, dark bottom-right; sunken: dark all round;
    // focus: a thick black border.
    Dib up = Bitmap("Up"), down = Bitmap("Down"), focus = Bitmap("Focus");
    Dib cup = Bitmap("CUp"), cdown = Bitmap("CDown"), cfocus = Bitmap("CFocus");
    for (const Dib* raised : {&up, &cup}) {
        EXPECT_EQ(raised->At(0, 0), kWhite);
        EXPECT_EQ(raised->At(63, 39), kBlack);
    }
    for (const Dib* sunken : {&down, &cdown}) {
        EXPECT_EQ(sunken->At(0, 0), kBlack);
        EXPECT_EQ(sunken->At(63, 39), kBlack);
    }
    for (const Dib* framed : {&focus, &cfocus}) {
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(framed->At(i, 20), kBlack);
            EXPECT_EQ(framed->At(63 - i, 20), kBlack);
            EXPECT_EQ(framed->At(32, i), kBlack);
            EXPECT_EQ(framed->At(32, 39 - i), kBlack);
        }
    }
    // Faces: yellow for OK (red open mouth only when pressed), red frowning
    // for Cancel, green when Cancel is pressed.
    EXPECT_TRUE(up.Colours().count(kYellow));
    EXPECT_FALSE(up.Colours().count(kRed));
    EXPECT_TRUE(down.Colours().count(kYellow));
    EXPECT_TRUE(down.Colours().count(kRed));
    EXPECT_TRUE(cup.Colours().count(kRed));
    EXPECT_FALSE(cup.Colours().count(kYellow));
    EXPECT_TRUE(cdown.Colours().count(kGreen));
    EXPECT_FALSE(cdown.Colours().count(kRed));
    EXPECT_EQ(focus.Colours(), up.Colours());
    EXPECT_EQ(cfocus.Colours(), cup.Colours());
}

TEST(ProgramIcon, Is32By32SixteenColourWithATransparencyMask) {
    const BinaryResource* r = FindIconResource(102);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(FindProgramIcon(), r);  // the lowest id, and the only one
    EXPECT_EQ(FindIconResource(101), nullptr);
    ASSERT_GE(r->size, 22u);
    EXPECT_EQ(U16(r->data + 2), 1);  // an icon file
    ASSERT_EQ(U16(r->data + 4), 1);  // with one image
    const unsigned char* entry = r->data + 6;
    EXPECT_EQ(entry[0], 32);
    EXPECT_EQ(entry[1], 32);
    EXPECT_EQ(entry[2], 16);
    std::uint32_t offset = U32(entry + 12);
    std::uint32_t bytes = U32(entry + 8);
    ASSERT_LE(offset + bytes, r->size);
    const unsigned char* header = r->data + offset;
    EXPECT_EQ(U32(header + 8), 64u);  // colour image and mask, stacked
    Dib image = ReadDib(header, 32);
    EXPECT_EQ(image.width, 32);
    ASSERT_EQ(bytes, 40u + 64u + 32u * 16u + 32u * 4u);

    const unsigned char* mask = image.bits + 32 * 16;
    auto transparent = [&](int x, int y) {
        return (mask[(31 - y) * 4 + x / 8] >> (7 - x % 8)) & 1;
    };
    int clear = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            clear += transparent(x, y);
            if (transparent(x, y)) {
                ASSERT_EQ(image.At(x, y), kBlack) << x << "," << y;  // nothing shows through
            }
        }
    }
    EXPECT_GT(clear, 100);
    EXPECT_LT(clear, 32 * 32 / 2);
    EXPECT_TRUE(transparent(0, 31));
    auto colours = image.Colours();
    for (const Rgb& c : {kBlue, kYellow, kRed, kWhite})
        EXPECT_TRUE(colours.count(c));
}

}  // namespace
