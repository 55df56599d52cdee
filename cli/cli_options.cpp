#include "cli/cli_options.h"

#include <getopt.h>

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

namespace sif::cli {

namespace {

// The long-only options' values lie beyond every character, so that getopt's
// optopt tells them from an unknown short option.
enum : int { kKindOption = 256, kModeOption, kLeftOption, kRightOption, kEnglishOption };

const option kLongOptions[] = {
    {"kind", required_argument, nullptr, kKindOption},
    {"mode", required_argument, nullptr, kModeOption},
    {"left", required_argument, nullptr, kLeftOption},
    {"right", required_argument, nullptr, kRightOption},
    {"english", no_argument, nullptr, kEnglishOption},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {nullptr, 0, nullptr, 0},
};

// ':' first: a missing value returns ':' instead of '?'. Options may follow
// the names (POSIXLY_CORRECT ends them at the first name), as with glibc's
// and MinGW-w64's getopt_long alike.
const char kShortOptions[] = ":hV";

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

const option* LongOption(int value) {
    for (const option& o : kLongOptions) {
        if (o.name != nullptr && o.val == value) {
            return &o;
        }
    }
    return nullptr;
}

std::string LongName(int value) {
    const option* o = LongOption(value);
    return o != nullptr ? std::string("--") + o->name : std::string("-") + static_cast<char>(value);
}

// The bytes of the UTF-8 character that `text` starts with, when that is a
// sequence of two to four bytes; 0 for ASCII and for bytes that are no UTF-8.
std::size_t MultiByteCharacterLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text.empty() ? 0 : text[0]);
    const std::size_t length = lead < 0xC2 || lead > 0xF4 ? 0
                               : lead >= 0xF0             ? 4
                               : lead >= 0xE0             ? 3
                                                          : 2;
    if (length == 0 || text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

// Why getopt_long refused `arg`, the argument it stopped at. glibc and
// MinGW-w64 agree on optopt, but not on whether a value given to a flag
// returns '?' or ':'.
std::string RefusalReason(std::string_view arg, int optionValue) {
    if (const option* o = LongOption(optionValue)) {
        return "option '" + LongName(optionValue) +
               (o->has_arg == no_argument ? "' doesn't allow an argument"
                                          : "' requires an argument");
    }
    if (optionValue != 0) {
        return std::string("invalid option -- '") + static_cast<char>(optionValue) + "'";
    }
    // An unknown long option, or an abbreviation of more than one.
    const std::string_view name =
        arg.substr(0, arg.find('=')).substr(std::min<std::size_t>(2, arg.size()));
    std::string candidates;
    int count = 0;
    for (const option& o : kLongOptions) {
        if (o.name != nullptr && std::string_view(o.name).substr(0, name.size()) == name) {
            candidates += std::string(" '--") + o.name + "'";
            ++count;
        }
    }
    if (count > 1) {
        return "option '" + std::string(arg) + "' is ambiguous; possibilities:" + candidates;
    }
    return "unrecognized option '" + std::string(arg) + "'";
}

}  // namespace

CliOptions ParseArguments(int argc, const char* const* argv) {
    CliOptions options;
    ExtractRequest& r = options.request;
    SetDelimiterField(r.szLeft, "\"");
    SetDelimiterField(r.szRight, "\"");

    // getopt_long reorders the vector it scans: it scans a copy.
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        args.push_back(const_cast<char*>(argv[i]));
    }
    args.push_back(nullptr);
    // 0 starts a fresh scan in glibc and in MinGW-w64, whatever an earlier
    // scan left behind.
    optind = 0;
    opterr = 0;
    for (int c; (c = getopt_long(argc, args.data(), kShortOptions, kLongOptions, nullptr)) != -1;) {
        const std::string_view value = optarg != nullptr ? optarg : "";
        switch (c) {
            case 'h':
                options.action = CliAction::Help;
                return options;
            case 'V':
                options.action = CliAction::Version;
                return options;
            case kEnglishOption:
                r.bEnglish = 1;
                break;
            case kKindOption:
                if (const auto kind = ParseKind(value)) {
                    r.nKind = *kind;
                    break;
                }
                return Refuse(std::move(options), "invalid argument '" + std::string(value) +
                                                      "' for '--kind'; valid arguments are "
                                                      "'text' and 'rc'");
            case kModeOption:
                if (const auto mode = ParseMode(value)) {
                    r.nMode = *mode;
                    break;
                }
                return Refuse(std::move(options),
                              "invalid argument '" + std::string(value) +
                                  "' for '--mode'; valid arguments are 'positive', 'negative', "
                                  "'multiline-positive' and 'multiline-negative'");
            case kLeftOption:
            case kRightOption:
                // As the delimiter field would hold it: the first byte counts,
                // an empty text gives NUL. A character of several bytes would
                // leave only its first byte, which matches no character.
                if (const std::size_t bytes = MultiByteCharacterLength(value)) {
                    return Refuse(std::move(options),
                                  "option '" + LongName(c) + "': '" +
                                      std::string(value.substr(0, bytes)) + "' takes " +
                                      std::to_string(bytes) +
                                      " bytes in UTF-8; a delimiter is one byte");
                }
                SetDelimiterField(c == kLeftOption ? r.szLeft : r.szRight, optarg);
                break;
            default: {
                // The argument getopt_long stopped at lies just before optind.
                const char* stopped = optind >= 1 && optind <= argc ? args[optind - 1] : "";
                return Refuse(std::move(options), RefusalReason(stopped, optopt));
            }
        }
    }
    const std::vector<std::string> names(args.begin() + optind, args.end() - 1);
    if (names.size() != 2) {
        return Refuse(std::move(options), names.empty() ? "missing SOURCE and TARGET"
                                          : names.size() == 1
                                              ? "missing TARGET after '" + names[0] + "'"
                                              : "extra operand '" + names[2] + "'");
    }
    r.szSource = names[0];
    r.szTarget = names[1];
    return options;
}

}  // namespace sif::cli
