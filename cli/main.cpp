// sifteron-cli: the window's OK command from the command line.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/cli_options.h"
#include "cli/standard_stream_names.h"
#include "engine/run_extraction.h"
#include "platform/file_io.h"
#include "platform/gathered_stderr_sink.h"
#include "platform/process.h"
#include "sifteron_version.h"

namespace {

constexpr int kExitNotice = 0;
constexpr int kExitError = 1;
constexpr int kExitUsage = 2;

const char kHelp[] =
    "Usage: sifteron-cli [OPTION]... SOURCE TARGET\n"
    "Append the delimited text of SOURCE to TARGET: the text between the\n"
    "delimiters, or the text outside them. SOURCE #LISTE# (or #Liste#) takes\n"
    "every file named in Liste.txt instead, one name per line.\n"
    "SOURCE - reads standard input; TARGET - appends to standard output.\n"
    "\n"
    "      --kind=KIND    source kind: text (default) or rc, a resource script\n"
    "      --mode=MODE    positive (default), negative, multiline-positive or\n"
    "                       multiline-negative; ignored with --kind=rc\n"
    "      --left=TEXT    left delimiter: the first byte of TEXT (default \");\n"
    "                       an empty TEXT gives NUL; a first character of more\n"
    "                       than one byte in UTF-8 is refused\n"
    "      --right=TEXT   right delimiter, likewise\n"
    "      --english      English messages (default German)\n"
    "  -h, --help         display this help and exit\n"
    "  -V, --version      output version information and exit\n"
    "\n"
    "Long options may be abbreviated (--eng) and may follow the names; after --\n"
    "every argument is a name (./- names a file called -).\n"
    "\n"
    "The target is only ever appended to; a run that fails takes its output\n"
    "back out of it. Messages go to stderr, one per line. Standard output as\n"
    "TARGET is appended to likewise when it is a file; a pipe or a terminal\n"
    "keeps what reached it before a failure. SOURCE and TARGET that are one\n"
    "file, also through - (sifteron-cli a.txt - >>a.txt), are refused.\n"
    "Runs at once on one TARGET take turns per file: a run waits while another\n"
    "holds the target, and says so on stderr after about a second.\n"
    "\n"
    "Files are read as bytes, except after a byte-order mark at the start of\n"
    "SOURCE, of Liste.txt or of standard input: after FF FE or FE FF the UTF-16\n"
    "text is read as UTF-8, after EF BB BF the UTF-8 text without the mark. A\n"
    "TARGET file that starts with FF FE or FE FF gets the output in that UTF-16;\n"
    "every other TARGET gets the bytes as they are.\n"
    "\n"
#ifdef _WIN32
    "Named devices (NUL, CON, COM1) and pipes are refused as SOURCE and TARGET;\n"
    "- takes standard input or output whatever it is. Ctrl-C, Ctrl-Break or\n"
    "closing the console during a run cut the target back to its length\n"
    "before the unfinished file and end the run with status 1.\n"
#else
    "A named pipe as SOURCE is read as `cat` reads it: the run waits for its\n"
    "writer. SIGTERM, SIGINT or SIGHUP during a run cut the target back to its\n"
    "length before the unfinished file and end the run with status 1.\n"
#endif
    "\n"
    "Exit status: 0 when the run closed with a notice, 1 with an error (also\n"
    "when a file named in the list failed, the list could not be read, or a\n"
    "message could not be written), 2 for wrong arguments.\n";

const char kVersion[] =
    "sifteron-cli (Sifteron) %s\n"
    "Copyright (C) 2026 the Sifteron developers.\n"
    "License MIT: <https://opensource.org/licenses/MIT>.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";

const char kTryHelp[] = "Try 'sifteron-cli --help' for more information.\n";

const char kInterrupted[] =
    "sifteron-cli: interrupted; the unfinished file's output was taken back out of the target\n";
// A pipe or a terminal keeps what it got; a file there is still cut back.
const char kInterruptedOnStandardOutput[] = "sifteron-cli: interrupted\n";

// Closes stdout after --help or --version; output that never arrived is an
// error, told on stderr.
int CloseStandardOutput() {
    const bool failedBefore = std::ferror(stdout) != 0;
    errno = 0;
    if (std::fclose(stdout) == 0 && !failedBefore) {
        return kExitNotice;
    }
    if (errno != 0) {
        std::fprintf(stderr, "sifteron-cli: write error: %s\n", std::strerror(errno));
    } else {
        std::fputs("sifteron-cli: write error\n", stderr);
    }
    return kExitError;
}

const char* g_targetName = "";
sif::GatheredStderrSink* g_gathered = nullptr;

// Told once, on a line of its own, so that a run that seems to hang is
// explained; the lines gathered before it go first.
void TellWaitingForTarget() {
    g_gathered->Flush();
    std::fprintf(stderr, "sifteron-cli: waiting for another run to finish with %s\n", g_targetName);
    std::fflush(stderr);
}

}  // namespace

int main(int argc, char** argv) {
    sif::EnsureStandardStreams();
    sif::cli::CliOptions options = sif::cli::ParseArguments(argc, argv);
    switch (options.action) {
        case sif::cli::CliAction::Help:
            std::fputs(kHelp, stdout);
            return CloseStandardOutput();
        case sif::cli::CliAction::Version:
            std::printf(kVersion, sif::kSifteronVersion);
            return CloseStandardOutput();
        case sif::cli::CliAction::UsageError:
            std::fprintf(stderr, "sifteron-cli: %s\n%s", options.error.c_str(), kTryHelp);
            return kExitUsage;
        case sif::cli::CliAction::Run:
            break;
    }
    const bool toStandardOutput = options.request.szTarget == "-";
    sif::cli::NameStandardStreams(options.request);
    sif::IgnoreFileSizeSignal();
    sif::IgnoreBrokenPipeSignal();
    sif::EndOnTerminationSignals(toStandardOutput ? kInterruptedOnStandardOutput : kInterrupted);
    // Thousands of notices cost a few writes.
    sif::GatheredStderrSink gathered;
    sif::SetMessageBoxSink(&gathered);
    g_gathered = &gathered;
    // Another run appending to the same target is waited for, however long.
    g_targetName = toStandardOutput ? "standard output" : options.request.szTarget.c_str();
    sif::SetAppendLockWait({-1, &TellWaitingForTarget});
    const sif::RunOutcome outcome = sif::RunRequest(options.request, nullptr);
    bool messagesWritten = std::fflush(stderr) == 0 && !std::ferror(stderr);
    messagesWritten = gathered.Flush() && messagesWritten;
    sif::SetMessageBoxSink(nullptr);
    // A message that could not be written leaves the caller without the
    // outcome: that is no success.
    if (!messagesWritten) {
        return kExitError;
    }
    return sif::IsErrorOutcome(outcome) ? kExitError : kExitNotice;
}
