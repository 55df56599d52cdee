// Showing a file in a text viewer, started detached with the file name as
// its one argument and no shell in between. Each platform has its own:
// platform/posix/text_viewer.cpp, platform/win32/text_viewer.cpp.
#pragma once

#include <string>

namespace sif {

// Starts the viewer on `fileName` (file-name encoding) without waiting;
// FALSE when the name is empty, no viewer is found or it cannot start. The
// window reports no failure, as for any viewer.
bool StartTextViewer(const std::string& fileName);

}  // namespace sif
