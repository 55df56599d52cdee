#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace bench {

// Collects generated lines and hands them to the stream in large blocks, so
// writing a gigabyte costs a few thousand stream calls, not millions.
class ChunkWriter {
  public:
    explicit ChunkWriter(std::ostream& out) : out_(out) { chunk_.reserve(kChunkBytes + 8192); }
    ~ChunkWriter() { Flush(); }
    ChunkWriter(const ChunkWriter&) = delete;
    ChunkWriter& operator=(const ChunkWriter&) = delete;

    void Add(std::string_view text) { chunk_.append(text); }
    void Add(char c) { chunk_.push_back(c); }
    void AddNumber(std::uint32_t value) { chunk_.append(std::to_string(value)); }

    // Ends the current line with CR LF.
    void EndLine() {
        chunk_.append("\r\n");
        if (chunk_.size() >= kChunkBytes) {
            Flush();
        }
    }

    // Bytes produced so far, including those still in the chunk.
    std::uint64_t Written() const { return flushed_ + chunk_.size(); }

    // Length of the line being built (the text after the last line end).
    std::size_t CurrentLineLength() const {
        const std::size_t end = chunk_.rfind('\n');
        return end == std::string::npos ? chunk_.size() : chunk_.size() - end - 1;
    }

    void Flush() {
        out_.write(chunk_.data(), static_cast<std::streamsize>(chunk_.size()));
        flushed_ += chunk_.size();
        chunk_.clear();
    }

  private:
    static constexpr std::size_t kChunkBytes = 1 << 20;
    std::ostream& out_;
    std::string chunk_;
    std::uint64_t flushed_ = 0;
};

}  // namespace bench
