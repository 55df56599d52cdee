// Parsers of the statements with a body, shared by rc_parser.cpp. Each is
// called with the stream just past the statement's keyword.
#pragma once

#include "tools/rcc/rc_model.h"
#include "tools/rcc/rc_token_stream.h"

namespace sif::rcc {

void ParseStringTable(TokenStream& in, ResourceScript& script);
DialogEntry ParseDialog(TokenStream& in, unsigned id, int line);
VersionEntry ParseVersionInfo(TokenStream& in);

// One control statement of a dialog body, normalised to class and style bits.
// The stream stands on the statement's keyword.
ControlEntry ParseControl(TokenStream& in);

}  // namespace sif::rcc
