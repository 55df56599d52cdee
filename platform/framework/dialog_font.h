// Which installed family stands in for a template font the machine lacks.
#pragma once

#include <functional>
#include <string>

namespace sif {

// `requested` when installed; otherwise the first installed family of a list
// of sans fonts with narrow metrics close to the classic dialog font; empty
// when none is, so the toolkit picks its own sans font.
std::string ChooseDialogFontFamily(const std::string& requested,
                                   const std::function<bool(const std::string&)>& isInstalled);

}  // namespace sif
