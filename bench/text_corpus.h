#pragma once

#include <cstdint>
#include <ostream>

namespace bench {

// Writes at least `bytes` bytes (ending on a whole line) of CR LF text that
// reads like web pages and program source: many quoted strings, some escaped
// quotes, a few unclosed ones and now and then a line of 500 bytes or more.
void WriteTextCorpus(std::ostream& out, std::uint64_t bytes);

}  // namespace bench
