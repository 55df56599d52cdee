#include "platform/framework/text_viewer.h"

#include <unistd.h>

#include <cstdlib>

#include "platform/framework/window_backend.h"

namespace sif {

const std::vector<std::string>& TextViewerCandidates() {
    static const std::vector<std::string> kPrograms = {
        "gnome-text-editor", "gedit", "kate", "kwrite", "mousepad", "xed", "pluma", "xdg-open",
    };
    return kPrograms;
}

std::string FindTextViewer(const std::string& searchPath,
                           const std::function<bool(const std::string&)>& isExecutable) {
    for (const std::string& program : TextViewerCandidates()) {
        std::size_t start = 0;
        while (start <= searchPath.size()) {
            std::size_t end = searchPath.find(':', start);
            if (end == std::string::npos)
                end = searchPath.size();
            std::string folder = searchPath.substr(start, end - start);
            start = end + 1;
            if (folder.empty() || folder.front() != '/')
                continue;
            std::string candidate = folder + "/" + program;
            if (isExecutable(candidate))
                return candidate;
        }
    }
    return {};
}

std::string ViewerFileArgument(const std::string& fileName) {
    if (!fileName.empty() && (fileName.front() == '-' || fileName.front() == '+'))
        return "./" + fileName;
    return fileName;
}

void StartTextViewer(const std::string& fileName) {
    WindowBackend* backend = GetWindowBackend();
    if (fileName.empty() || backend == nullptr)
        return;
    const char* path = std::getenv("PATH");
    std::string viewer = FindTextViewer(path != nullptr ? path : "", [](const std::string& file) {
        return access(file.c_str(), X_OK) == 0;
    });
    if (!viewer.empty())
        backend->StartDetached(viewer, {ViewerFileArgument(fileName)});
}

}  // namespace sif
