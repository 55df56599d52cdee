// Choosing an existing file: the request, and the call that asks the window
// backend's file dialog (a test backend answers it without a window).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sif {

struct FileFilter {
    std::string name;     // "Text"
    std::string pattern;  // "*.txt"

    bool operator==(const FileFilter&) const = default;
};

// A filter string as the catalogue holds it: display name, pattern, name,
// pattern, ..., each item followed by the separator, which is the string's
// last character ("Text|*.txt|"). An odd last name without pattern is dropped.
std::vector<FileFilter> ParseFilterString(const std::string& text);

struct OpenFileRequest {
    std::vector<FileFilter> filters;
    int filterIndex = 1;  // 1-based: the filter preselected
    bool fileMustExist = true;
    bool pathMustExist = true;
};

// Asks the window backend, and without one cancels; on a choice the chosen file's folder becomes
// the current directory, so bare names typed later are looked up there. <commdlg.h> turns
// GetOpenFileName into this A name.
std::optional<std::string> GetOpenFileNameA(const OpenFileRequest& request);
#ifndef GetOpenFileName
inline std::optional<std::string> GetOpenFileName(const OpenFileRequest& request) {
    return GetOpenFileNameA(request);
}
#endif

}  // namespace sif
