#include "fuzz/source_text.h"

namespace sif::fuzz {

namespace {

void PutUtf8(unsigned cp, std::string* out) {
    if (cp < 0x80) {
        *out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        *out += static_cast<char>(0xC0 | cp >> 6);
        *out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        *out += static_cast<char>(0xE0 | cp >> 12);
        *out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        *out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        *out += static_cast<char>(0xF0 | cp >> 18);
        *out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        *out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        *out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool DecodeUtf16(std::string_view bytes, bool bigEndian, std::string* text) {
    if (bytes.size() % 2 != 0) {
        return false;
    }
    auto unit = [&](std::size_t i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? a << 8 | b : b << 8 | a;
    };
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        const unsigned u = static_cast<unsigned>(unit(i));
        if (u >= 0xDC00 && u <= 0xDFFF) {
            return false;
        }
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 2 >= bytes.size()) {
                return false;
            }
            const unsigned low = static_cast<unsigned>(unit(i + 2));
            if (low < 0xDC00 || low > 0xDFFF) {
                return false;
            }
            PutUtf8(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00), text);
            i += 2;
        } else {
            PutUtf8(u, text);
        }
    }
    return true;
}

}  // namespace

bool ReadAsTheEngine(std::string_view file, std::string* text) {
    text->clear();
    if (file.starts_with("\xEF\xBB\xBF")) {
        text->assign(file.substr(3));
        return true;
    }
    if (file.starts_with("\xFF\xFE") || file.starts_with("\xFE\xFF")) {
        return DecodeUtf16(file.substr(2), file[0] == '\xFE', text);
    }
    text->assign(file);
    return true;
}

}  // namespace sif::fuzz
