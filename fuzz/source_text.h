// What the engine reads of a source file, worked out here apart from the file
// services: the bytes after a byte-order mark, UTF-16 as UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace sif::fuzz {

// False when the file is not the UTF-16 its mark says (a lone surrogate, an
// odd last byte): reading it fails. *text is what the engine sees otherwise.
bool ReadAsTheEngine(std::string_view file, std::string* text);

}  // namespace sif::fuzz
