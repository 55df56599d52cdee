#include "cli/standard_stream_names.h"

#include "platform/file_io.h"

namespace sif::cli {

namespace {

constexpr char kDash[] = "-";
// The run refuses equal names before it opens anything, so standard output
// needs a name of its own beside standard input. No file is ever looked up by
// it: with SOURCE "-", that name and "-" are the only ones the run opens.
constexpr char kOutputBesideInput[] = "(standard output)";

}  // namespace

void NameStandardStreams(ExtractRequest& request) {
    // Standard input keeps the name "-": a resource line names its source.
    const bool fromInput = request.szSource == kDash;
    if (fromInput) {
        AdoptStandardStream(kDash, StandardStream::Input);
    }
    if (request.szTarget == kDash) {
        if (fromInput) {
            request.szTarget = kOutputBesideInput;
        }
        AdoptStandardStream(request.szTarget.c_str(), StandardStream::Output);
    }
}

}  // namespace sif::cli
