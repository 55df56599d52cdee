#include "platform/windows_command_line.h"

namespace sif {

std::string QuoteWindowsArgument(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos)
        return argument;
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count only before a quote: there each one is doubled
        // and the quote itself escaped.
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        quoted += c;
        backslashes = 0;
    }
    quoted.append(2 * backslashes, '\\');  // before the closing quote
    quoted += '"';
    return quoted;
}

std::string WindowsCommandLine(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& word : words) {
        if (!line.empty())
            line += ' ';
        line += QuoteWindowsArgument(word);
    }
    return line;
}

std::string WindowsViewerFileArgument(const std::string& fileName) {
    if (!fileName.empty() && fileName.front() == '-')
        return ".\\" + fileName;
    if (!fileName.empty() && fileName.front() == '/')
        return "\\" + fileName.substr(1);
    return fileName;
}

}  // namespace sif
