// The two language flags: 0 German, 1 English.
#pragma once

namespace sif {

// Interface language; written only by the window's language toggle.
extern int g_bEnglish;

// The engine's copy, refreshed at the start of every run.
extern int g_bMsgEnglish;

void SetMessageLanguage(int english);

}  // namespace sif
