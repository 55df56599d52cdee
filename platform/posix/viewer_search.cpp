#include "platform/posix/viewer_search.h"

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

}  // namespace sif
