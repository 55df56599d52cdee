#include "platform/stderr_message_sink.h"

#include <cstdio>
#include <string>

namespace sif {

int StderrMessageSink::Show(HWND, const char* text, const char* caption, UINT) {
    std::string line = std::string(caption) + ": " + text + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    return IDOK;
}

}  // namespace sif
