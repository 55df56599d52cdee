#include "platform/framework/file_dialog.h"

#include <filesystem>
#include <system_error>

#include "platform/framework/window_backend.h"

namespace sif {

std::vector<FileFilter> ParseFilterString(const std::string& text) {
    std::vector<FileFilter> filters;
    if (text.empty())
        return filters;
    const char separator = text.back();
    std::vector<std::string> items;
    std::string item;
    for (char c : text) {
        if (c == separator) {
            items.push_back(item);
            item.clear();
        } else {
            item += c;
        }
    }
    for (std::size_t i = 0; i + 1 < items.size(); i += 2) {
        if (items[i].empty() && items[i + 1].empty())
            break;  // the list's end
        filters.push_back(FileFilter{items[i], items[i + 1]});
    }
    return filters;
}

std::optional<std::string> GetOpenFileNameA(const OpenFileRequest& request) {
    WindowBackend* backend = GetWindowBackend();
    if (backend == nullptr)
        return std::nullopt;
    std::optional<std::string> chosen = backend->ChooseOpenFile(request);
    if (!chosen || chosen->empty())
        return std::nullopt;
    std::filesystem::path folder = std::filesystem::path(*chosen).parent_path();
    if (!folder.empty()) {
        std::error_code ignored;
        std::filesystem::current_path(folder, ignored);
    }
    return chosen;
}

}  // namespace sif
