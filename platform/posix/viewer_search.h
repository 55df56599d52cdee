// Finding the text viewer on POSIX: the first common graphical editor on
// PATH, else the desktop's opener.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace sif {

// The programs tried, in order: the editors, then "xdg-open".
const std::vector<std::string>& TextViewerCandidates();

// The full path of the first candidate that `isExecutable` finds in the
// colon-separated `searchPath`, or empty. Only absolute folders are
// searched: an empty or relative entry names the current folder, which the
// file dialog moves to wherever the user browsed.
std::string FindTextViewer(const std::string& searchPath,
                           const std::function<bool(const std::string&)>& isExecutable);

// `fileName` as an argument the viewer can only take for a file: a relative
// name that starts like an option ("-") or a line number ("+") gets "./".
std::string ViewerFileArgument(const std::string& fileName);

}  // namespace sif
