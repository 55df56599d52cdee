// Windows command lines: a program receives one string and splits it itself,
// by the rules of CommandLineToArgvW and the C runtime. Portable, so the
// quoting is tested on every platform.
#pragma once

#include <string>
#include <vector>

namespace sif {

// `argument` as one command-line word that those rules split back to exactly
// `argument`: quoted when empty or holding blanks or quotes, with the
// backslashes before a quote (and before the closing quote) doubled.
std::string QuoteWindowsArgument(const std::string& argument);

// The words joined by blanks, each quoted as above.
std::string WindowsCommandLine(const std::vector<std::string>& words);

// `fileName` as an argument a viewer can only take for a file: a relative
// name that starts like an option ("-") gets ".\"; a leading "/", which
// Windows reads as "\" anyway, goes as "\" so it cannot read as a switch.
std::string WindowsViewerFileArgument(const std::string& fileName);

}  // namespace sif
