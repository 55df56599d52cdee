// Command-line arguments of sifteron-cli, turned into a run request.
#pragma once

#include <string>

#include "engine/extract_request.h"

namespace sif::cli {

enum class CliAction { Run, Help, Version, UsageError };

struct CliOptions {
    CliAction action = CliAction::Run;
    ExtractRequest request;
    std::string error;  // why the arguments were refused
};

// Defaults as the window starts: text kind, positive mode, both delimiters
// the double quote, German messages. Parses with getopt_long: may be called
// again, each call scans afresh.
CliOptions ParseArguments(int argc, const char* const* argv);

}  // namespace sif::cli
