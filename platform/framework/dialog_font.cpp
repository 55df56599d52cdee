#include "platform/framework/dialog_font.h"

namespace sif {

std::string ChooseDialogFontFamily(const std::string& requested,
                                   const std::function<bool(const std::string&)>& isInstalled) {
    if (!requested.empty() && isInstalled(requested))
        return requested;
    // Closest first: the outline successor, then the metric-compatible clones
    // of Arial/Helvetica, then the common wide sans.
    static const char* const kFallbacks[] = {
        "Microsoft Sans Serif", "Arial", "Liberation Sans", "Nimbus Sans", "Helvetica", "FreeSans",
        "DejaVu Sans",
    };
    for (const char* family : kFallbacks) {
        if (isInstalled(family))
            return family;
    }
    return {};
}

}  // namespace sif
