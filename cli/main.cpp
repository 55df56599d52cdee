// sifteron-cli: the window's OK command from the command line.
#include <cstdio>

#include "cli/cli_options.h"
#include "engine/run_extraction.h"
#include "platform/process.h"
#ifndef _WIN32
#include "platform/posix/gathered_stderr_sink.h"
#endif
#include "sifteron_version.h"

namespace {

constexpr int kExitNotice = 0;
constexpr int kExitError = 1;
constexpr int kExitUsage = 2;

const char kHelp[] =
    "Appends the delimited text of SOURCE (or of every file named in Liste.txt\n"
    "when SOURCE is #LISTE#) to TARGET. Messages go to stderr, one per line.\n"
    "\n"
    "  --kind text|rc      source kind: text (default) or resource script\n"
    "  --mode MODE         positive (default), negative, multiline-positive,\n"
    "                      multiline-negative; ignored for --kind rc\n"
    "  --left TEXT         left delimiter: the first byte of TEXT (default \")\n"
    "  --right TEXT        right delimiter, likewise; an empty TEXT gives NUL\n"
    "  --english           English messages (default German)\n"
    "  --help, --version   print this help or the version and exit\n"
    "\n"
#ifdef _WIN32
    "Devices (NUL, CON, COM1) and pipes are refused as SOURCE and TARGET.\n"
    "Ctrl-C, Ctrl-Break or closing the console during a run cut the target\n"
    "back to its length before the unfinished file and end the run with\n"
    "status 1.\n"
#else
    "A named pipe as SOURCE is read as `cat` reads it: the run waits for its\n"
    "writer. SIGTERM, SIGINT or SIGHUP during a run cut the target back to its\n"
    "length before the unfinished file and end the run with status 1.\n"
#endif
    "\n"
    "Exit status: 0 when the run closed with a notice, 1 with an error (also\n"
    "when a file named in the list failed, or a message could not be written),\n"
    "2 for wrong arguments.\n";

const char kInterrupted[] =
    "sifteron-cli: interrupted; the unfinished file's output was taken back out of the target\n";

}  // namespace

int main(int argc, char** argv) {
    sif::EnsureStandardStreams();
    const sif::cli::CliOptions options = sif::cli::ParseArguments(argc, argv);
    switch (options.action) {
        case sif::cli::CliAction::Help:
            std::fputs(sif::cli::kUsage, stdout);
            std::fputs(kHelp, stdout);
            return kExitNotice;
        case sif::cli::CliAction::Version:
            std::printf("sifteron-cli %s\n", sif::kSifteronVersion);
            return kExitNotice;
        case sif::cli::CliAction::UsageError:
            std::fprintf(stderr, "sifteron-cli: %s\n%s", options.error.c_str(), sif::cli::kUsage);
            return kExitUsage;
        case sif::cli::CliAction::Run:
            break;
    }
    sif::IgnoreFileSizeSignal();
    sif::EndOnTerminationSignals(kInterrupted);
#ifndef _WIN32
    // Thousands of notices cost a few writes. (On Windows the console handler
    // runs on a thread of its own; there every line goes out at once.)
    sif::GatheredStderrSink gathered;
    sif::SetMessageBoxSink(&gathered);
#endif
    const sif::RunOutcome outcome = sif::RunRequest(options.request, nullptr);
    bool messagesWritten = std::fflush(stderr) == 0 && !std::ferror(stderr);
#ifndef _WIN32
    messagesWritten = gathered.Flush() && messagesWritten;
    sif::SetMessageBoxSink(nullptr);
#endif
    // A message that could not be written leaves the caller without the
    // outcome: that is no success.
    if (!messagesWritten) {
        return kExitError;
    }
    return sif::IsErrorOutcome(outcome) ? kExitError : kExitNotice;
}
