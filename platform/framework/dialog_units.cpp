#include "platform/framework/dialog_units.h"

#include <cstdint>

namespace sif {

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0)
        return -1;
    std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    bool negative = (product < 0) != (denominator < 0);
    std::int64_t magnitude = product < 0 ? -product : product;
    std::int64_t divisor = denominator < 0 ? -static_cast<std::int64_t>(denominator) : denominator;
    std::int64_t result = (magnitude + divisor / 2) / divisor;
    return static_cast<int>(negative ? -result : result);
}

DialogBaseUnits BaseUnitsFromFontMetrics(int alphabetWidth, int height) {
    // Windows averages over the 52 letters and rounds: (width / 26 + 1) / 2.
    return DialogBaseUnits{(alphabetWidth / 26 + 1) / 2, height};
}

int DialogXToPixels(int x, const DialogBaseUnits& base) {
    return MulDiv(x, base.cx, 4);
}

int DialogYToPixels(int y, const DialogBaseUnits& base) {
    return MulDiv(y, base.cy, 8);
}

RECT MapDialogRect(int x, int y, int w, int h, const DialogBaseUnits& base) {
    // Position and size are mapped separately, as the dialog manager does for
    // every control, so a right edge is not rounded twice.
    int left = DialogXToPixels(x, base);
    int top = DialogYToPixels(y, base);
    return RECT{left, top, left + DialogXToPixels(w, base), top + DialogYToPixels(h, base)};
}

int PointsToPixels(int points, int dpi) {
    return MulDiv(points, dpi, 72);
}

}  // namespace sif
