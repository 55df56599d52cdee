#include "tools/rcc/rc_statements.h"

namespace sif::rcc {

VersionEntry ParseVersionInfo(TokenStream& in) {
    in.Fail("unsupported statement VERSIONINFO");
}

}  // namespace sif::rcc
