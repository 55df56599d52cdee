#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace bench {

// splitmix64: tiny, fast and the same sequence on every platform, so a corpus
// made today is byte for byte the corpus made next month.
class RandomSource {
  public:
    explicit RandomSource(std::uint64_t start) : state_(start) {}

    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // A value in [0, n); n must be above 0.
    std::uint32_t Below(std::uint32_t n) {
        return static_cast<std::uint32_t>(((Next() >> 32) * n) >> 32);
    }

    // A value in [low, high].
    std::uint32_t Between(std::uint32_t low, std::uint32_t high) {
        return low + Below(high - low + 1);
    }

    bool Percent(std::uint32_t percent) { return Below(100) < percent; }

    template <std::size_t N>
    std::string_view Pick(const std::array<std::string_view, N>& words) {
        return words[Below(static_cast<std::uint32_t>(N))];
    }

  private:
    std::uint64_t state_;
};

// The corpus always starts from this value; change it and every figure in the
// README stops being comparable.
inline constexpr std::uint64_t kCorpusStartValue = 0x5EF7E2014C0FFEEull;

}  // namespace bench
