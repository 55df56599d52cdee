// Process-level services.
#pragma once

namespace sif {

// Opens the null device on any of the standard streams that the process was
// started without, so that nothing else can land on those descriptors. On
// Windows, where files cannot land there, missing streams stay missing and
// the streams go to binary mode: lines end as on POSIX.
void EnsureStandardStreams();

// A write beyond the file-size limit then fails like any other write, so the
// run can undo it and say so, instead of the process dying silently.
void IgnoreFileSizeSignal();

// Likewise a write into a pipe that nobody reads any more: standard output
// as the target, or stderr.
void IgnoreBrokenPipeSignal();

// SIGTERM, SIGINT and SIGHUP (on Windows: Ctrl-C, Ctrl-Break and closing
// the console) end the process with status 1: an unfinished append is cut
// back first (SetCutBackOnInterrupt), then `line` goes to stderr. `line` must
// outlive the process's use of it.
void EndOnTerminationSignals(const char* line);

}  // namespace sif
