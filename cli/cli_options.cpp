#include "cli/cli_options.h"

#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace sif::cli {

const char kUsage[] =
    "Usage: sifteron-cli [--kind text|rc] "
    "[--mode positive|negative|multiline-positive|multiline-negative]\n"
    "                    [--left TEXT] [--right TEXT] [--english] SOURCE TARGET\n";

namespace {

std::optional<SourceKind> ParseKind(std::string_view text) {
    if (text == "text") {
        return KindText;
    }
    if (text == "rc") {
        return KindResource;
    }
    return std::nullopt;
}

std::optional<ExtractMode> ParseMode(std::string_view text) {
    if (text == "positive") {
        return ModePositive;
    }
    if (text == "negative") {
        return ModeNegative;
    }
    if (text == "multiline-positive") {
        return ModeMultilinePositive;
    }
    if (text == "multiline-negative") {
        return ModeMultilineNegative;
    }
    return std::nullopt;
}

CliOptions Refuse(CliOptions options, std::string why) {
    options.action = CliAction::UsageError;
    options.error = std::move(why);
    return options;
}

bool TakesValue(std::string_view name) {
    return name == "--kind" || name == "--mode" || name == "--left" || name == "--right";
}

}  // namespace

CliOptions ParseArguments(int argc, const char* const* argv) {
    CliOptions options;
    ExtractRequest& r = options.request;
    SetDelimiterField(r.szLeft, "\"");
    SetDelimiterField(r.szRight, "\"");

    std::vector<std::string> names;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (optionsEnded || arg.size() < 2 || arg.substr(0, 2) != "--") {
            names.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help") {
            options.action = CliAction::Help;
            return options;
        }
        if (arg == "--version") {
            options.action = CliAction::Version;
            return options;
        }
        if (arg == "--english") {
            r.bEnglish = 1;
            continue;
        }
        std::string_view name = arg;
        std::optional<std::string_view> value;
        if (const auto eq = arg.find('='); eq != std::string_view::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        }
        if (!TakesValue(name)) {
            return Refuse(std::move(options), "unknown option '" + std::string(arg) + "'");
        }
        if (!value) {
            if (i + 1 >= argc) {
                return Refuse(std::move(options),
                              "option '" + std::string(name) + "' needs a value");
            }
            value = argv[++i];
        }
        if (name == "--kind") {
            const auto kind = ParseKind(*value);
            if (!kind) {
                return Refuse(std::move(options), "unknown kind '" + std::string(*value) + "'");
            }
            r.nKind = *kind;
        } else if (name == "--mode") {
            const auto mode = ParseMode(*value);
            if (!mode) {
                return Refuse(std::move(options), "unknown mode '" + std::string(*value) + "'");
            }
            r.nMode = *mode;
        } else {
            // As the delimiter field would hold it: the first byte counts,
            // an empty text gives NUL.
            std::string text(*value);
            SetDelimiterField(name == "--left" ? r.szLeft : r.szRight, text.c_str());
        }
    }
    if (names.size() != 2) {
        return Refuse(std::move(options),
                      names.size() < 2 ? "SOURCE and TARGET are needed" : "too many file names");
    }
    r.szSource = names[0];
    r.szTarget = names[1];
    if (r.nKind == KindResource) {
        r.nMode = ModePositive;
    }
    return options;
}

}  // namespace sif::cli
