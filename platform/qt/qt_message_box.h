// Message boxes as real Qt boxes: application-modal, so no box of a run,
// owned or ownerless, lets the main dialog start another run meanwhile.
#pragma once

#include <QFont>
#include <QPalette>
#include <QWidget>

namespace sif::qt {

// An OK button without icon, no icon in the box, caption and text in the
// single-byte code page, in the dialogs' palette and font. Returns IDOK once
// the box is closed.
int ShowQtMessageBox(QWidget* owner, const char* text, const char* caption, const QPalette& palette,
                     const QFont& font);

// At least this wide, the box leaves the window manager room for `caption`
// beside its title-bar buttons.
int MinimumBoxWidth(const QString& caption);

}  // namespace sif::qt
