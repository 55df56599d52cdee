// Writes a parsed script as a C++ source that defines sif::res::kBundle
// (platform/resource_data.h).
#pragma once

#include <ostream>

#include "tools/rcc/rc_model.h"

namespace sif::rcc {

void WriteBundle(const ResourceScript& script, std::ostream& out);

// A C++ string literal for single-byte text: printable ASCII as is, everything
// else as a three-digit octal escape.
std::string CppLiteral(const std::string& text);

}  // namespace sif::rcc
