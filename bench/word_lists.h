#pragma once

#include <array>
#include <string_view>

namespace bench {

// Lower-case letters only: identifiers are made from them by shifting case.
inline constexpr std::array<std::string_view, 48> kWords = {
    "file",   "open",    "save",    "target", "source",  "value",  "name",    "line",
    "window", "button",  "cancel",  "text",   "delim",   "mode",   "buffer",  "result",
    "error",  "message", "list",    "item",   "page",    "title",  "search",  "filter",
    "left",   "right",   "quote",   "start",  "end",     "next",   "count",   "size",
    "path",   "folder",  "select",  "option", "default", "format", "output",  "input",
    "header", "footer",  "content", "style",  "script",  "link",   "version", "status"};

inline constexpr std::array<std::string_view, 16> kCapitalWords = {
    "Open",  "Save",   "Cancel", "Options", "About",  "Help",   "Print",  "Search",
    "Close", "Export", "Import", "Filter",  "Source", "Target", "Status", "Settings"};

}  // namespace bench
