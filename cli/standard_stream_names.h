// "-" as SOURCE or TARGET of the command line: standard input or output.
#pragma once

#include "engine/extract_request.h"

namespace sif::cli {

// Lets the file services open standard input for a SOURCE "-" and standard
// output for a TARGET "-", under names that the run passes through to them.
// Only the command line does so: in the window, "-" is a file of that name.
void NameStandardStreams(ExtractRequest& request);

}  // namespace sif::cli
