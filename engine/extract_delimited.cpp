#include "engine/extract_delimited.h"

#include <cstring>

#include "engine/classify_resource_line.h"

namespace sif {

namespace {

constexpr int kResultMax = 499;

class PieceCollector {
  public:
    void Append(const char* bytes, int count) {
        const int room = kResultMax - length_;
        const int take = count < room ? count : room;
        if (take > 0) {
            std::memcpy(result_ + length_, bytes, static_cast<std::size_t>(take));
            length_ += take;
        }
    }
    // Copies the result over `line`; it is never longer than the examined text.
    void StoreInto(char* line) {
        result_[length_] = '\0';
        std::memcpy(line, result_, static_cast<std::size_t>(length_) + 1);
    }

  private:
    char result_[kResultMax + 1];
    int length_ = 0;
};

}  // namespace

void ExtractDelimited(char* line, char left, char right, int examined, int resource) {
    const bool resourceMode = resource == 1;
    if (resourceMode && !ClassifyResourceLine(line)) {
        line[0] = '\0';
        return;
    }

    // Positions 0 .. examined - 2, and none after the line's first NUL.
    int end = examined - 1;
    if (end > kResultMax) {
        end = kResultMax;
    }
    if (end < 0) {
        end = 0;
    }
    const void* nul = std::memchr(line, '\0', static_cast<std::size_t>(end));
    if (nul != nullptr) {
        end = static_cast<int>(static_cast<const char*>(nul) - line);
    }
    auto at = [&](int p) { return p >= 0 && p < end ? line[p] : '\0'; };

    PieceCollector result;
    int leftPos = -1;
    int rightPos = -1;
    bool pieceFound = false;
    for (int p = 0; p < end; ++p) {
        const char c = line[p];
        if (leftPos >= 0 && rightPos < 0 && c == right) {
            if (resourceMode && right == '"' && at(p + 1) == '"') {
                ++p;  // a doubled quote stands for a quote inside the string
                continue;
            }
            if (at(p - 1) != '\\') {
                rightPos = p;
            }
        }
        if (leftPos < 0 && c == left) {
            leftPos = p;
        }
        if (leftPos >= 0 && rightPos >= 0) {
            if (!(resourceMode && pieceFound)) {
                if (pieceFound) {
                    result.Append("\r\n", 2);
                }
                result.Append(line + leftPos + 1, rightPos - leftPos - 1);
            }
            leftPos = rightPos = -1;
            pieceFound = true;
        }
    }
    result.StoreInto(line);
}

}  // namespace sif
