// sif_rcc: compiles the program's resource script into a C++ source.
// Usage: sif_rcc <script.rc> <output.cpp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "tools/rcc/rc_error.h"
#include "tools/rcc/rc_parser.h"
#include "tools/rcc/rc_writer.h"

namespace fs = std::filesystem;

namespace {

// Writes beside the target and renames, so a failed run never leaves a
// half-written source for the build to pick up.
bool WriteFileAtomically(const fs::path& target, const std::string& text) {
    fs::path temp = target;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out || !out.write(text.data(), static_cast<std::streamsize>(text.size()))) {
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temp, target, ec);
    return !ec;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: sif_rcc <script.rc> <output.cpp>\n");
        return 2;
    }
    const std::string scriptName = argv[1];
    std::ifstream in(scriptName, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "%s: cannot open\n", scriptName.c_str());
        return 1;
    }
    std::string source(std::istreambuf_iterator<char>(in), {});
    try {
        auto script = sif::rcc::ParseScript(source, fs::path(scriptName).parent_path());
        std::ostringstream out;
        sif::rcc::WriteBundle(script, out);
        if (!WriteFileAtomically(argv[2], out.str())) {
            std::fprintf(stderr, "%s: cannot write\n", argv[2]);
            return 1;
        }
    } catch (const sif::rcc::RcError& e) {
        std::fprintf(stderr, "%s:%d: %s\n", scriptName.c_str(), e.line(), e.what());
        return 1;
    }
    return 0;
}
