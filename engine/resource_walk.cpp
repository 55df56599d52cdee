#include "engine/resource_walk.h"

#include <bit>
#include <cstring>
#include <limits>

#include "engine/classify_resource_line.h"
#include "engine/delimiter_rules.h"
#include "engine/extract_request.h"
#include "engine/piece_stops.h"

namespace sif {

namespace {

static_assert(std::endian::native == std::endian::little, "words are compared as loaded");

// 64 bits of a per-chunk mask from bit `shift` of chunk `lo` on, bit i for
// the byte `shift + i` bytes into it; `hi` is the chunk behind.
std::uint64_t Window(std::uint64_t lo, std::uint64_t hi, std::size_t shift) {
    return lo >> shift | (hi << 1) << (63 - shift);
}

// The same at position `at`, `bits(c)` giving chunk c's mask.
template <class Bits>
std::uint64_t WindowAt(Bits bits, std::size_t at) {
    const std::size_t chunk = at / kChunkBytes;
    return Window(bits(chunk), bits(chunk + 1), at % kChunkBytes);
}

// The first marked position in [from, to), or `to`.
template <class Bits>
std::size_t First(Bits bits, std::size_t from, std::size_t to) {
    for (std::size_t at = from; at < to; at += kChunkBytes) {
        const std::uint64_t found = WindowAt(bits, at) & BitsBelow(to - at);
        if (found != 0) {
            return at + Lowest(found);
        }
    }
    return to;
}

// The marks of a piece, positions counted from its start. Most pieces end
// within 64 bytes of their start: one window of each mask holds them, worked
// out when asked for, as most lines want no delimiters.
struct NearMarks {
    const ChunkMasks& lo;
    const ChunkMasks& hi;
    std::size_t shift;

    NearMarks(const ChunkMasks* masks, std::size_t start)
        : lo(masks[start / kChunkBytes]),
          hi(masks[start / kChunkBytes + 1]),
          shift(start % kChunkBytes) {}

    template <std::uint64_t ChunkMasks::*Field>
    std::size_t Find(std::size_t from, std::size_t to) const {
        const std::uint64_t found = Window(lo.*Field, hi.*Field, shift) & BitsFrom(from, to);
        return found != 0 ? Lowest(found) : to;
    }
    std::size_t Nul(std::size_t to) const {
        // NULs are rare: most pieces need no window of them.
        return (lo.nul | hi.nul) == 0 ? to : Find<&ChunkMasks::nul>(0, to);
    }
    std::uint64_t Words(std::size_t) const { return Window(lo.words, hi.words, shift); }
    std::size_t Left(std::size_t from, std::size_t to) const {
        return Find<&ChunkMasks::left>(from, to);
    }
    std::size_t Right(std::size_t from, std::size_t to) const {
        return Find<&ChunkMasks::right>(from, to);
    }
};

// The same for a piece of any length, window by window.
struct FarMarks {
    const ChunkMasks* masks;
    std::size_t start;

    template <std::uint64_t ChunkMasks::*Field>
    std::size_t Find(std::size_t from, std::size_t to) const {
        const ChunkMasks* const m = masks;
        return First([m](std::size_t c) { return m[c].*Field; }, start + from, start + to) - start;
    }
    std::size_t Nul(std::size_t to) const { return Find<&ChunkMasks::nul>(0, to); }
    std::uint64_t Words(std::size_t at) const {
        const ChunkMasks* const m = masks;
        return WindowAt([m](std::size_t c) { return m[c].words; }, start + at);
    }
    std::size_t Left(std::size_t from, std::size_t to) const {
        return Find<&ChunkMasks::left>(from, to);
    }
    std::size_t Right(std::size_t from, std::size_t to) const {
        return Find<&ChunkMasks::right>(from, to);
    }
};

// Copies n bytes in 32-byte steps: up to 31 bytes more are read behind `from`
// and written behind `to + n`.
char* CopySteps(char* to, const char* from, std::size_t n) {
    for (std::size_t i = 0; i < n; i += 32) {
        std::memcpy(to + i, from + i, 32);
    }
    return to + n;
}

std::uint64_t Load8(const char* at) {
    std::uint64_t bytes;
    std::memcpy(&bytes, at, sizeof bytes);
    return bytes;
}

// A classifier word as two 8-byte loads compare it.
struct LoadedWord {
    std::uint64_t head = 0;  // bytes 0 to 7, as loaded
    std::uint64_t headMask = 0;
    std::uint64_t tail = 0;  // bytes 8 to 15
    std::uint64_t tailMask = 0;
    char text[16] = {};  // NUL-padded, as g_szKeyword takes it
    std::size_t size = 0;
    std::size_t lineLongerThan = std::numeric_limits<std::size_t>::max();  // none: never
    WordEffect effect = WordEffect::LeaveTable;
    std::size_t index = 0;  // in kResourceWords

    bool Matches(const char* at) const {
        return (((Load8(at) ^ head) & headMask) | ((Load8(at + 8) ^ tail) & tailMask)) == 0;
    }
};

constexpr LoadedWord Load(std::size_t index) {
    const ResourceWord& word = kResourceWords[index];
    LoadedWord w;
    for (std::size_t i = 0; i < word.text.size(); ++i) {
        const std::uint64_t byte = static_cast<unsigned char>(word.text[i]);
        const std::uint64_t at = 8 * (i % 8);
        (i < 8 ? w.head : w.tail) |= byte << at;
        (i < 8 ? w.headMask : w.tailMask) |= std::uint64_t{0xff} << at;
        w.text[i] = word.text[i];
    }
    w.size = word.text.size();
    w.lineLongerThan = static_cast<std::size_t>(word.lineLongerThan);
    w.effect = word.effect;
    w.index = index;
    return w;
}

// The words other than "}" by their first two letters, which tell them apart.
constexpr std::size_t kSlotCount = 32;

constexpr std::size_t Slot(char first, char second) {
    return (static_cast<unsigned char>(first) + 4u * static_cast<unsigned char>(second)) %
           kSlotCount;
}

constexpr std::size_t kBraceIndex = 2;
static_assert(kResourceWords[kBraceIndex].text == "}");

constexpr std::array<LoadedWord, kSlotCount> MakeSlots() {
    std::array<LoadedWord, kSlotCount> slots{};
    for (std::size_t i = 0; i < std::size(kResourceWords); ++i) {
        if (i != kBraceIndex) {
            slots[Slot(kResourceWords[i].text[0], kResourceWords[i].text[1])] = Load(i);
        }
    }
    return slots;
}
constexpr std::array<LoadedWord, kSlotCount> kSlots = MakeSlots();
constexpr LoadedWord kBrace = Load(kBraceIndex);

constexpr bool SlotsAreDistinct() {
    std::size_t filled = 0;
    for (const LoadedWord& word : kSlots) {
        filled += word.size != 0 ? 1 : 0;
    }
    return filled == std::size(kResourceWords) - 1;
}
static_assert(SlotsAreDistinct());

constexpr std::size_t kTableIndex = 0;
constexpr LoadedWord kTable = Load(kTableIndex);
static_assert(kResourceWords[kTableIndex].text == kTableKeyword);

// The word the mask says may begin at `at`; it still has to match.
const LoadedWord& WordAt(const char* at) {
    return at[0] == '}' ? kBrace : kSlots[Slot(at[0], at[1])];
}

// What SetKeyword stores: the word and its NUL, no byte more, written as two
// overlapping stores.
void StoreKeyword(const LoadedWord& word) {
    const std::size_t n = word.size + 1;
    char* const to = g_szKeyword;
    if (n >= 8) {
        std::memcpy(to, word.text, 8);
        std::memcpy(to + n - 8, word.text + n - 8, 8);
    } else {
        std::memcpy(to, word.text, 4);
        std::memcpy(to + n - 4, word.text + n - 4, 4);
    }
}

constexpr bool KeywordsStoreInTwoSteps() {
    for (const ResourceWord& word : kResourceWords) {
        if (word.effect == WordEffect::Keyword &&
            (word.text.size() + 1 < 4 || word.text.size() + 1 > kKeywordSize)) {
            return false;
        }
    }
    return kTableKeyword.size() + 1 == kKeywordSize;
}
static_assert(KeywordsStoreInTwoSteps());

}  // namespace

ResourceWalk::ResourceWalk(const LineSettings& settings)
    : right_(settings.right),
      tail_(settings.sourceTail),
      stride_((1 + kKeywordSize + tail_.size() + 31) / 32 * 32),
      suffixes_(std::make_unique<char[]>(kSlots * stride_)) {
    for (std::size_t i = 0; i < kStartSlot; ++i) {
        SetSuffix(i, kResourceWords[i].text);
    }
}

bool ResourceWalk::Handles(const LineSettings& s) {
    return s.kind == KindResource && s.positive == 1;
}

void ResourceWalk::SetSuffix(std::size_t slot, std::string_view keyword) {
    char* const to = suffixes_.get() + slot * stride_;
    to[0] = '\t';
    std::memcpy(to + 1, keyword.data(), keyword.size());
    std::memcpy(to + 1 + keyword.size(), tail_.data(), tail_.size());
    sizes_[slot] = 1 + keyword.size() + tail_.size();
}

std::size_t ResourceWalk::Run(const char* block, const ChunkMasks* masks,
                              const std::uint64_t* stops, std::size_t from, std::size_t to,
                              LineOutput* out) {
    // The keyword that records go out under, as a suffix slot.
    SetSuffix(kStartSlot, {g_szKeyword, strnlen(g_szKeyword, kKeywordSize - 1)});
    keyword_ = kStartSlot;
    char* o = out->data + out->size;
    const char* const full = out->data + out->drainAt;
    std::size_t s = from;
    // The piece ends not passed yet, chunk by chunk: as `to` starts a piece,
    // every piece before it ends before it.
    std::size_t chunk = s / kChunkBytes;
    std::uint64_t ends = stops[chunk] & ~BitsBelow(s % kChunkBytes);
    while (s < to && o < full) {
        while (ends == 0) {
            ends = stops[++chunk];
        }
        const std::size_t end = chunk * kChunkBytes + Lowest(ends) + 1;
        ends &= ends - 1;
        if (end - s <= kChunkBytes) {
            o = Piece(NearMarks(masks, s), block + s, end - s, o);
        } else {
            o = Piece(FarMarks{masks, s}, block + s, end - s, o);
        }
        s = end;
    }
    out->size = static_cast<std::size_t>(o - out->data);
    return s;
}

template <class Marks>
char* ResourceWalk::Piece(const Marks& marks, const char* line, std::size_t length, char* o) {
    const std::size_t n = marks.Nul(length);  // what the classifier looks at
    if (n > static_cast<std::size_t>(kTableKeywordLineLongerThan)) {
        StoreKeyword(kTable);
        keyword_ = kTableIndex;
    }
    // The words in order: table words take effect until a keyword ends the
    // search.
    bool found = false;
    for (std::size_t w = 0; w < n && !found; w += kChunkBytes) {
        for (std::uint64_t starts = marks.Words(w) & BitsBelow(n - w); starts != 0;
             starts &= starts - 1) {
            const std::size_t p = w + Lowest(starts);
            const LoadedWord& word = WordAt(line + p);
            if (n <= word.lineLongerThan || n - p < word.size || !word.Matches(line + p)) {
                continue;
            }
            if (word.effect == WordEffect::Keyword) {
                StoreKeyword(word);
                keyword_ = word.index;
                found = true;
                break;
            }
            g_bInStringTable = word.effect == WordEffect::EnterTable ? 1 : 0;
        }
    }
    if (!found && g_bInStringTable == 0) {
        return o;
    }
    // The first piece of text, the NUL examined itself; a doubled quote or
    // one behind a backslash does not close it.
    const std::size_t end = n < length ? n + 1 : length;
    const std::size_t open = marks.Left(0, end);
    std::size_t close = open + 1;
    while (close < end) {
        close = marks.Right(close, end);
        const int skip = close < end ? SkipRefusedClose(line, close, end, right_, true) : 0;
        if (skip == 0) {
            break;
        }
        close += static_cast<std::size_t>(skip);
    }
    if (close >= end || close == open + 1) {
        return o;  // unclosed or empty: nothing goes out
    }
    o = CopySteps(o, line + open + 1, close - open - 1);
    return CopySteps(o, suffixes_.get() + keyword_ * stride_, sizes_[keyword_]);
}

}  // namespace sif
