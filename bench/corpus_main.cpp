// sifteron-bench-corpus KIND BYTES FILE
// Writes the benchmark corpus of the given kind ("text" or "rc") and size.
// The same arguments always give the same bytes.

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string_view>

#include "bench/rc_corpus.h"
#include "bench/text_corpus.h"

namespace {

// Accepts a plain byte count or one with a K, M or G suffix (powers of 1024).
bool ParseSize(std::string_view text, std::uint64_t& bytes) {
    std::uint64_t unit = 1;
    if (!text.empty()) {
        switch (text.back()) {
            case 'K':
                unit = 1ull << 10;
                break;
            case 'M':
                unit = 1ull << 20;
                break;
            case 'G':
                unit = 1ull << 30;
                break;
            default:
                break;
        }
        if (unit != 1) {
            text.remove_suffix(1);
        }
    }
    std::uint64_t count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return false;
    }
    bytes = count * unit;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::uint64_t bytes = 0;
    const std::string_view kind = argc == 4 ? argv[1] : "";
    if (argc != 4 || (kind != "text" && kind != "rc") || !ParseSize(argv[2], bytes)) {
        std::fprintf(stderr, "usage: %s text|rc BYTES[K|M|G] FILE\n", argv[0]);
        return 2;
    }
    std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
    if (!out) {
        std::fprintf(stderr, "cannot create %s\n", argv[3]);
        return 1;
    }
    if (kind == "text") {
        bench::WriteTextCorpus(out, bytes);
    } else {
        bench::WriteResourceCorpus(out, bytes);
    }
    out.close();
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
