// Turns the tokens of a resource script into a ResourceScript.
#pragma once

#include <filesystem>
#include <string_view>

#include "tools/rcc/rc_model.h"

namespace sif::rcc {

// `baseDir` is where files named by BITMAP and ICON statements are looked up.
// Throws RcError naming the line of the first statement it cannot accept.
ResourceScript ParseScript(std::string_view source, const std::filesystem::path& baseDir);

}  // namespace sif::rcc
