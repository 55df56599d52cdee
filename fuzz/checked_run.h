// One run of a fuzzer's request through the run command, on scratch files
// reused from input to input, with its faults planned; then the checks that
// hold for every run, good or failed. A broken check aborts, so that the
// fuzzer keeps the input.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/extract_request.h"
#include "fuzz/fuzz_case.h"
#include "platform/win_types.h"

namespace sif::fuzz {

// The scratch files, in a directory of their own under TMPDIR.
const std::string& SourceName();
const std::string& TargetName();

// A request from the scratch source to the scratch target with the case's
// delimiters and language, in `kind` and `mode`.
ExtractRequest RequestFor(const FuzzCase& c, SourceKind kind, ExtractMode mode);

// What a good run does.
struct Expected {
    std::string output;                  // appended to the target
    std::vector<std::size_t> noticesAt;  // output before each "line too long"
    UINT closingId;                      // the notice that closes the run
    bool createNotice;                   // a missing target is announced
};

// Runs `request` on the case's source and target; returns whether the run
// was to succeed (no read or write failed). `readable`: the source can be
// read to its end.
bool RunAndCheck(const FuzzCase& c, bool readable, const ExtractRequest& request,
                 const Expected& expected);

// Prints `what` and aborts when `ok` is false.
void Check(bool ok, const char* what);

}  // namespace sif::fuzz
