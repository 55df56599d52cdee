// Dialog units to pixels, the way Windows maps dialog templates: a horizontal
// unit is a quarter of the font's average character width, a vertical one an
// eighth of its height. Toolkit-free: the backend measures the font.
#pragma once

#include "platform/framework/afx_types.h"

namespace sif {

struct DialogBaseUnits {
    int cx;  // average character width in pixels
    int cy;  // character height in pixels
};

// number * numerator / denominator, rounded half away from zero; -1 when the
// denominator is 0.
int MulDiv(int number, int numerator, int denominator);

// `alphabetWidth`: pixel width of the 52 letters a-z A-Z in the dialog font;
// `height`: the font's height (ascent + descent).
DialogBaseUnits BaseUnitsFromFontMetrics(int alphabetWidth, int height);

int DialogXToPixels(int x, const DialogBaseUnits& base);
int DialogYToPixels(int y, const DialogBaseUnits& base);

// A template rectangle (x, y, w, h in dialog units) in pixels.
RECT MapDialogRect(int x, int y, int w, int h, const DialogBaseUnits& base);

// The pixel height of a font of `points` at `dpi`, as a template font asks.
int PointsToPixels(int points, int dpi);

}  // namespace sif
