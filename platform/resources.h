// Access to the program's own resources.
#pragma once

#include "platform/resource_data.h"
#include "platform/win_types.h"

namespace sif {

// The program's own module.
HINSTANCE AfxGetResourceHandle();

// Copies string `id`, cut to size - 1 bytes, with its NUL. Returns the number
// of characters copied, 0 when there is no such string.
int LoadStringA(HINSTANCE instance, UINT id, char* buffer, int size);

// nullptr when there is no such resource. Bitmap names match without regard
// to case.
const res::DialogResource* FindDialogResource(unsigned id);
const res::BinaryResource* FindBitmapResource(const char* name);
const res::BinaryResource* FindIconResource(unsigned id);
// The program's own icon: as Windows shows for the program file, the icon
// with the lowest id; nullptr when there is none.
const res::BinaryResource* FindProgramIcon();

}  // namespace sif
