// The dialogs' own light look, whatever colour scheme the desktop has.
#pragma once

#include <QColor>
#include <QPalette>

namespace sif::qt {

// The template colours behind the dialog and of its text; edit fields and
// check marks white with black text, as on a light Windows desktop. Every
// role of every group is set, so a desktop palette, also one that changes
// later, reaches nothing.
QPalette LightDialogPalette(const QColor& background, const QColor& text);

}  // namespace sif::qt
