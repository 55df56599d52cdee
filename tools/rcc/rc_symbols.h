// The constants the script may name (WS_*, BS_*, ...), with their Windows
// values: what `#include <windows.h>` provides to a real resource compiler.
#pragma once

#include <optional>
#include <string_view>

namespace sif::rcc {

std::optional<unsigned> LookupSymbol(std::string_view name);

}  // namespace sif::rcc
