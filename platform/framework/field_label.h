// The static text that names a field of a dialog template, for a screen
// reader to read with it. Toolkit-free: from the template's geometry.
#pragma once

#include <cstddef>

#include "platform/resource_data.h"

namespace sif {

// The index of the label of control `field` in `dialog`: the nearest static
// text that ends left of it on its row; failing that, the nearest one above
// it over its columns; each at most kMaxLabelGap dialog units away. -1 when
// there is none.
int FindFieldLabel(const res::DialogResource& dialog, std::size_t field);

inline constexpr int kMaxLabelGap = 10;

}  // namespace sif
