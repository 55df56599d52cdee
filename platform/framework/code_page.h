// The single-byte code page of dialog texts (Windows-1252), to and from
// Unicode code points. The backend converts its toolkit strings through it.
#pragma once

#include <string>

namespace sif {

// Bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D have no character; they map to the
// C1 control of the same value, as Windows does.
char32_t Cp1252ToCodePoint(unsigned char byte);

// The byte for `cp`, or '?' (and *exact = false) when the code page lacks it.
unsigned char CodePointToCp1252(char32_t cp, bool* exact = nullptr);

// UTF-8 and Windows-1252 strings; characters the code page lacks, and
// malformed UTF-8, become '?' (and *exact = false).
std::string Cp1252ToUtf8(const std::string& text);
std::string Utf8ToCp1252(const std::string& text, bool* exact = nullptr);

}  // namespace sif
