#include "tools/rcc/rc_statements.h"

namespace sif::rcc {

DialogEntry ParseDialog(TokenStream& in, unsigned, int) {
    in.Fail("unsupported statement DIALOG");
}

}  // namespace sif::rcc
