// The viewer on POSIX: the editor that viewer_search.h finds, run with the
// file as its one argument, no shell in between.
#include "platform/framework/text_viewer.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>

#include "platform/posix/viewer_search.h"

namespace sif {

bool StartTextViewer(const std::string& fileName) {
    if (fileName.empty())
        return false;
    const char* path = std::getenv("PATH");
    std::string viewer = FindTextViewer(path != nullptr ? path : "", [](const std::string& file) {
        return access(file.c_str(), X_OK) == 0;
    });
    if (viewer.empty())
        return false;
    std::string argument = ViewerFileArgument(fileName);
    char* argv[] = {viewer.data(), argument.data(), nullptr};

    // The viewer runs as a grandchild that init adopts: the window never
    // waits for it, and an ended viewer leaves no zombie behind. Between fork
    // and exec only async-signal-safe calls, as the window has threads.
    const pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        if (fork() == 0) {
            setsid();                  // our terminal's Ctrl-C is not the viewer's
            signal(SIGXFSZ, SIG_DFL);  // ignored here for the runs' sake only
            execv(argv[0], argv);
            _exit(127);
        }
        _exit(0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace sif
