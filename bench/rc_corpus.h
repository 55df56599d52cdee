#pragma once

#include <cstdint>
#include <ostream>

namespace bench {

// Writes at least `bytes` bytes (ending on a whole block) of CR LF resource
// script: dialogs with their controls, menus, string tables, version blocks.
void WriteResourceCorpus(std::ostream& out, std::uint64_t bytes);

}  // namespace bench
