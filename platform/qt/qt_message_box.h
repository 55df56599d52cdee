// Message boxes as real Qt boxes: application-modal, so no box of a run,
// owned or ownerless, lets the main dialog start another run meanwhile.
#pragma once

#include <QWidget>

namespace sif::qt {

// An OK button, no icon, caption and text in the single-byte code page.
// Returns IDOK once the box is closed.
int ShowQtMessageBox(QWidget* owner, const char* text, const char* caption);

}  // namespace sif::qt
